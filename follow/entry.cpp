#include <cstdio>
#include <cstring>

#include "follow.h"
#include "messages.h"
#include "platform/arguments.h"
#include "platform/box.h"
#include "platform/files.h"
#include "platform/output.h"
#include "tell.h"
#include "text.h"

namespace {

// Where the code page is no UTF-8, before Windows 10 version 1903 say, a
// name it cannot hold comes in best-fitted into another file's name
// (Łódź.log as Lodz.log), and a best-fitted quote splits the line
// otherwise: either way no log the user named.
bool arguments_as_typed(int argc, char** argv) {
    return os::argument_count_is_exact(argc) && (argc != 2 || os::argument_is_exact(1, argv[1]));
}

}  // namespace

int follow_main(int argc, char** argv) {
    os::InitCommonControls();
    // No file name can hold a question mark, so these name no log.
    if (argc == 2 && (std::strcmp(argv[1], "/?") == 0 || std::strcmp(argv[1], "-?") == 0)) {
        // Told as a failed write to the log's copy is: a reader that has
        // gone ends it without a word.
        const os::Output told = tell_on_stdout(USAGE);
        if (told == os::Output::FAILED) os::write_stderr(WRITE_FAILURE_LINE);
        return told == os::Output::OK ? 0 : 1;
    }
    if (!arguments_as_typed(argc, argv)) return report_open_failure(argc > 1 ? argv[1] : "");
    char path[PATH_BUF_SIZE];
    // A path that had to be cut is not the one asked for: what is told names
    // the argument as it was given.
    if (!resolve_log_path(argc, argv, path)) {
        return report_open_failure(argc == 2 ? argv[1] : path);
    }
    // Binary mode: every position taken is a byte offset.
    std::FILE* log = os::open_log(path);
    if (!log) return report_open_failure(path);
    return follow_file(log, find_tail_start(log), path, stdout);
}
