// The program's own output: the log's bytes on standard output, and lines
// on standard error.
#pragma once

#include <cstddef>
#include <cstdio>

namespace os {

// How a write to the program's output went: a reader that has gone, which
// ends a pipeline's writer without a word, or a failure of another kind,
// a full disk say, which is told.
enum class Output { OK, FAILED, READER_GONE };
Output write_out(const void* bytes, std::size_t n, std::FILE* out);
Output flush_out(std::FILE* out);

// Asked right after a write or flush failed: whether it failed because the
// reader of the pipe has gone.
bool reader_gone();
// Lets bytes written to stream pass as they are: no line feed becomes
// CR LF on the way.
void set_binary_mode(std::FILE* stream);
// The code page a line on standard error is shown in: the console's output
// code page where standard error is a console, the ANSI code page
// otherwise.
unsigned stderr_code_page();
// Writes text to standard error as it is, at once.
void write_stderr(const char* text);

}  // namespace os
