#include <cstdio>
#include <cstring>

#include "follow.h"
#include "text.h"

int follow_main(int argc, char** argv) {
    os::InitCommonControls();
    // No file name can hold a question mark, so these name no log.
    if (argc == 2 && (std::strcmp(argv[1], "/?") == 0 || std::strcmp(argv[1], "-?") == 0)) {
        std::fputs(FOLLOW_USAGE, stdout);
        return 0;
    }
    char path[PATH_BUF_SIZE];
    // A path that had to be cut is not the one asked for: the notice names
    // the argument as it was given.
    if (!resolve_log_path(argc, argv, path)) {
        return report_open_failure(argc == 2 ? argv[1] : path);
    }
    // Binary mode: every position taken is a byte offset.
    std::FILE* log = os::open_log(path);
    if (!log) return report_open_failure(path);
    return follow_file(log, find_tail_start(log), path, stdout);
}
