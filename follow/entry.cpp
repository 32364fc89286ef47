#include <cstdio>

#include "follow.h"
#include "text.h"

int follow_main(int argc, char** argv) {
    os::InitCommonControls();
    char path[PATH_BUF_SIZE];
    if (!resolve_log_path(argc, argv, path)) return report_open_failure(path);
    // Binary mode: every position taken is a byte offset.
    std::FILE* log = os::open_log(path);
    if (!log) return report_open_failure(path);
    return follow_file(log, find_tail_start(log), path, stdout);
}
