// Following the log: copy what has been appended, pause, and again.
#include <cstring>

#include "follow.h"
#include "text.h"

namespace {

// Keeps the last FINGERPRINT_SIZE bytes of all that has been shown.
void remember_shown(Shown& shown, const char* bytes, std::size_t n) {
    if (n >= FINGERPRINT_SIZE) {
        std::memcpy(shown.fingerprint, bytes + n - FINGERPRINT_SIZE, FINGERPRINT_SIZE);
        shown.fingerprint_size = FINGERPRINT_SIZE;
        return;
    }
    std::size_t keep = shown.fingerprint_size;
    if (keep + n > FINGERPRINT_SIZE) keep = FINGERPRINT_SIZE - n;
    std::memmove(shown.fingerprint, shown.fingerprint + shown.fingerprint_size - keep, keep);
    std::memcpy(shown.fingerprint + keep, bytes, n);
    shown.fingerprint_size = keep + n;
}

// Whether the bytes just before the shown position are no longer the ones
// shown there: the log was written anew from its start.
bool rewritten(std::FILE* log, const Shown& shown) {
    std::size_t n = shown.fingerprint_size;
    if (n == 0) return false;
    // The stream may still hold the old bytes in its buffer, and a seek
    // within the buffer keeps them: drop them, so that the file is read.
    std::fflush(log);
    if (os::fseek64(log, shown.position - static_cast<os::offset>(n)) != 0) return false;
    char now[FINGERPRINT_SIZE];
    return std::fread(now, 1, n, log) == n && std::memcmp(now, shown.fingerprint, n) != 0;
}

}  // namespace

Pass follow_pass(std::FILE* log, Shown& shown, const char* path, std::FILE* out) {
    // The server rewrote its log: what is there now is new, show it all.
    os::offset size = os::fsize64(log);
    if ((size >= 0 && size < shown.position) || rewritten(log, shown)) {
        complain("\nfollow: %s: file truncated\n", path);
        shown = Shown{};
    }
    // Seeking also clears the end-of-file state of the last pass.
    if (os::fseek64(log, shown.position) != 0) return Pass::SEEK_FAILED;
    char block[BLOCK_SIZE];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, log)) > 0) {
        if (std::fwrite(block, 1, n, out) != n && os::reader_gone()) return Pass::READER_GONE;
        shown.position += static_cast<os::offset>(n);
        remember_shown(shown, block, n);
    }
    // Pipes and files are block-buffered: appended lines must not wait
    // for kilobytes more to arrive.
    if (std::fflush(out) != 0 && os::reader_gone()) return Pass::READER_GONE;
    return Pass::FOLLOWING;
}

int follow_file(std::FILE* log, os::offset start, const char* path,
                std::FILE* out) {
    Shown shown;
    shown.position = start;
    Pass pass;
    while ((pass = follow_pass(log, shown, path, out)) == Pass::FOLLOWING) {
        os::Sleep(POLL_INTERVAL_MS);
    }
    // A reader that has gone ends follow without a word, as it ends any
    // writer in a pipeline.
    if (pass == Pass::SEEK_FAILED) complain("\nfollow: can't tail %s\n", path);
    std::fclose(log);
    return 1;
}
