#include "warn.h"

#include "os.h"
#include "text.h"

void warning_notice(const char* caption, const char* text) {
    os::MessageBoxA(nullptr, text, caption, os::WARNING_BOX_STYLE);
}

void complain(const char* format, const char* arg) {
    // Room for the longest path and any of the fixed texts around it.
    char line[PATH_BUF_SIZE + 64];
    bounded_format(line, sizeof line, format, arg);
    os::write_stderr(line);
}
