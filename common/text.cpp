#include "text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/environment.h"

void seal_path(char* path) { path[PATH_BUF_SIZE - 1] = '\0'; }

void bounded_copy(char* dst, std::size_t size, const char* src) {
    if (size == 0) return;
    std::size_t n = std::strlen(src);
    if (n > size - 1) n = size - 1;
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

bool bounded_format(char* dst, std::size_t size, const char* format, ...) {
    if (size == 0) return false;
    std::va_list args;
    va_start(args, format);
    int n = std::vsnprintf(dst, size, format, args);
    va_end(args);
    // Some runtimes leave a cut result unterminated; ours never is.
    if (n < 0) dst[0] = '\0';
    dst[size - 1] = '\0';
    return n >= 0 && static_cast<std::size_t>(n) < size;
}

std::size_t utf8_cut(const char* text, std::size_t n) {
    // A byte 10xxxxxx continues the sequence before it; more than three in
    // a row are no UTF-8, and are cut where they stand.
    std::size_t cut = n;
    while (cut > 0 && n - cut < 3 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return cut;
}

const char* env_or_default(const char* name, const char* fallback) {
    const char* value = os::getenv(name);
    return value ? value : fallback;
}
