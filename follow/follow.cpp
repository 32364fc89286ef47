// Following the log: copy what has been appended, pause, and again.
#include "follow.h"
#include "text.h"

bool follow_pass(std::FILE* log, os::offset& position, const char* path,
                 std::FILE* out) {
    // The server rewrote its log: what is there now is new, show it all.
    os::offset size = os::fsize64(log);
    if (size >= 0 && size < position) {
        complain("\nfollow: %s: file truncated\n", path);
        position = 0;
    }
    // Seeking also clears the end-of-file state of the last pass.
    if (os::fseek64(log, position) != 0) return false;
    char block[BLOCK_SIZE];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, log)) > 0) {
        std::fwrite(block, 1, n, out);
        position += static_cast<os::offset>(n);
    }
    // Pipes and files are block-buffered: appended lines must not wait
    // for kilobytes more to arrive.
    std::fflush(out);
    return true;
}

int follow_file(std::FILE* log, os::offset start, const char* path,
                std::FILE* out) {
    os::offset position = start;
    while (follow_pass(log, position, path, out)) os::Sleep(POLL_INTERVAL_MS);
    complain("\nfollow: can't tail %s\n", path);
    std::fclose(log);
    return 1;
}
