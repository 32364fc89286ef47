// Choosing the log to follow.
#include <cstring>

#include "follow.h"
#include "platform/environment.h"
#include "text.h"

bool resolve_log_path(int argc, char** argv, char* path) {
    if (argc == 2) {
        bounded_copy(path, PATH_BUF_SIZE, argv[1]);
        seal_path(path);
        return std::strlen(argv[1]) < PATH_BUF_SIZE;
    }
    unsigned long n = os::GetTempPathA(PATH_BUF_SIZE, path);
    // A directory that does not fit comes back as the size it needs, and
    // nothing may be formatted past the buffer: keep the bare name.
    bool fits = n < PATH_BUF_SIZE;
    if (!fits) n = 0;
    if (!bounded_format(path + n, PATH_BUF_SIZE - n, "Ostrel.%s.log",
                        env_or_default("DISNO", "0"))) {
        // Cut at the buffer's end, by a long DISNO: marked as cut, so that
        // what is told does not pass the rest off as the log's name, and cut
        // where no character is split.
        std::memcpy(path + utf8_cut(path, PATH_BUF_SIZE - 4), "...", 4);
        fits = false;
    }
    seal_path(path);
    return fits;
}
