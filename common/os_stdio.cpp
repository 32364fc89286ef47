// The platform operations that the standard library serves alike on
// every platform.
#include <cstdio>
#include <cstdlib>

#include "os.h"

namespace os {

const char* getenv(const char* name) { return std::getenv(name); }

// The Windows runtime buffers standard error when it is a pipe or a file;
// a notice must not wait for the next one.
void write_stderr(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

}  // namespace os
