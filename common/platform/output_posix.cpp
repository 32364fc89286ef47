#include <cerrno>
#include <cstdio>

#include "charset.h"
#include "output.h"

namespace os {

// A gone reader is seen only where SIGPIPE is ignored; otherwise the
// signal ends the program at that write.
bool reader_gone() { return errno == EPIPE; }

// Streams here have no text mode.
void set_binary_mode(std::FILE*) {}

unsigned stderr_code_page() { return CODE_PAGE_UTF8; }

// Standard error is unbuffered here.
void write_stderr(const char* text) { std::fputs(text, stderr); }

}  // namespace os
