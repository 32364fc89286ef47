#include "warn.h"

#include <cstring>

#include "os.h"
#include "text.h"

void warning_notice(const char* caption, const char* text) {
    os::MessageBoxA(nullptr, text, caption, os::WARNING_BOX_STYLE);
}

void complain(const char* format, const char* arg) {
    // Room for the longest path and any of the fixed texts around it. A
    // longer argument, one that was refused for its length, is cut to fit,
    // so that the text around it and the line end stay whole.
    char line[PATH_BUF_SIZE + 64];
    char cut[sizeof line];
    const std::size_t room = sizeof line - 1 - (std::strlen(format) - 2);
    const std::size_t n = std::strlen(arg);
    bounded_copy(cut, (n > room ? utf8_cut(arg, room) : n) + 1, arg);
    bounded_format(line, sizeof line, format, cut);
    os::write_stderr(line);
}
