// Choosing the log to follow.
#include "follow.h"
#include "text.h"

bool resolve_log_path(int argc, char** argv, char* path) {
    if (argc == 2) {
        bounded_copy(path, PATH_BUF_SIZE, argv[1]);
        seal_path(path);
        return true;
    }
    unsigned long n = os::GetTempPathA(PATH_BUF_SIZE, path);
    // A directory that does not fit comes back as the size it needs, and
    // nothing may be formatted past the buffer: keep the bare name.
    bool fits = n < PATH_BUF_SIZE;
    if (!fits) n = 0;
    bounded_format(path + n, PATH_BUF_SIZE - n, "Ostrel.%s.log",
                   env_or_default("DISNO", "0"));
    seal_path(path);
    return fits;
}
