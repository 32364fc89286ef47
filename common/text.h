// Path buffers, bounded copying and formatting, and environment defaults.
#pragma once

#include <cstddef>

// Room for 260 characters and the terminator.
constexpr std::size_t PATH_BUF_SIZE = 261;

// Ends a path buffer at its last byte, whatever filled it.
void seal_path(char* path);

// Copies at most size - 1 bytes of src and always terminates (size >= 1).
void bounded_copy(char* dst, std::size_t size, const char* src);

// snprintf that never writes past size, always terminates (size >= 1) and
// cuts silently what does not fit; gives false when it cut.
bool bounded_format(char* dst, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Where to cut text that is longer than n bytes so that no UTF-8 sequence
// is split: n, or up to three bytes before it.
std::size_t utf8_cut(const char* text, std::size_t n);

// The variable's value, even when empty; fallback only when it is not set.
const char* env_or_default(const char* name, const char* fallback);
