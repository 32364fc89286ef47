// Following the log: copy what has been appended, pause, and again.
#include <cstring>

#include "follow.h"
#include "messages.h"
#include "platform/output.h"
#include "platform/process.h"
#include "tell.h"

namespace {

// Whether the log no longer holds the byte just before the shown position.
// Its reported size is not asked: some files report less than they hold.
bool shorter_than_shown(std::FILE* log, const Shown& shown) {
    if (shown.position == 0) return false;
    if (os::fseek64(log, shown.position - 1) != 0) return false;
    return std::fgetc(log) == EOF;
}

// Whether the bytes the log begins with now differ from the known ones. A
// NUL byte there is room its writer reserved and has not filled in yet:
// filling it in is no new log.
bool head_differs(const char* known, const char* now, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (known[i] != '\0' && known[i] != now[i]) return true;
    }
    return false;
}

// Whether the log no longer begins with the bytes it began with: the
// server wrote it anew. What it begins with now becomes what is known of
// its head, up to HEAD_SIZE bytes or the shown position.
bool written_anew(std::FILE* log, Shown& shown) {
    std::size_t want = shown.position < os::offset(HEAD_SIZE)
                           ? static_cast<std::size_t>(shown.position)
                           : HEAD_SIZE;
    if (want == 0 || os::fseek64(log, 0) != 0) return false;
    char now[HEAD_SIZE];
    std::size_t got = std::fread(now, 1, want, log);
    if (head_differs(shown.head, now, got < shown.head_size ? got : shown.head_size)) return true;
    std::memcpy(shown.head, now, got);
    shown.head_size = got;
    return false;
}

// Copies the shown bytes that fall within the head, which follow on from
// what is known of it there.
void remember_head(Shown& shown, const char* bytes, std::size_t n) {
    std::size_t at = shown.head_size;
    if (at >= HEAD_SIZE || os::offset(at) != shown.position) return;
    std::size_t take = n < HEAD_SIZE - at ? n : HEAD_SIZE - at;
    std::memcpy(shown.head + at, bytes, take);
    shown.head_size = at + take;
}

// Tells the user of an event after which the log is shown again from its
// start. The line begins a line of its own, after a line end of its own
// only where the log's bytes left one open; it ends its line, so that none
// is open.
void tell_event(Shown& shown, const char* event_line, const char* path) {
    if (shown.line_open) os::write_stderr("\n");
    tell_on_stderr(event_line, path);
    shown = Shown{};
}

// How a write to out ended the pass, if it did.
Pass after_output(os::Output result) {
    return result == os::Output::OK            ? Pass::FOLLOWING
           : result == os::Output::READER_GONE ? Pass::READER_GONE
                                               : Pass::WRITE_FAILED;
}

// Copies what lies past the shown position; a log shorter than that, or
// written anew, is told as an event and copied from its start.
Pass copy_appended(std::FILE* log, Shown& shown, const char* path, std::FILE* out) {
    // The stream may still hold bytes of the last pass in its buffer, which
    // the writer may have changed since, and glibc keeps them across a seek
    // that lands within them. Flushing a stream open for reading drops them
    // in glibc and in msvcrt.dll, which follow.exe uses (a seek in msvcrt.dll
    // drops them too); the C standard leaves it undefined, and the newer
    // Universal CRT keeps them, so another runtime must be checked here.
    std::fflush(log);
    if (shorter_than_shown(log, shown) || written_anew(log, shown)) {
        tell_event(shown, TRUNCATED_EVENT_LINE, path);
    }
    // Seeking also clears the end-of-file state of the last pass.
    if (os::fseek64(log, shown.position) != 0) return Pass::SEEK_FAILED;
    char block[BLOCK_SIZE];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, log)) > 0) {
        const Pass written = after_output(os::write_out(block, n, out));
        if (written != Pass::FOLLOWING) return written;
        remember_head(shown, block, n);
        shown.position += static_cast<os::offset>(n);
        shown.line_open = block[n - 1] != '\n';
    }
    // Pipes and files are block-buffered: appended lines must not wait
    // for kilobytes more to arrive.
    return after_output(os::flush_out(out));
}

// The file now under the log's name, opened, when it is surely another
// than the open log: the log was rotated, or made anew. nullptr while the
// name holds the same file, nothing that can be told apart, or a file
// that cannot be opened yet.
std::FILE* replacement(std::FILE* log, const char* path) {
    if (!other_file(os::identify_open(log), os::identify_name(path))) return nullptr;
    std::FILE* next = os::open_log(path);
    // Renamed back between the look and the open: the same file again.
    if (next && !other_file(os::identify_open(log), os::identify_open(next))) {
        std::fclose(next);
        return nullptr;
    }
    return next;
}

// Makes next, when there is one, the log followed from its start, and
// tells the user that the file was replaced.
std::FILE* switch_to(std::FILE* next, Shown& shown, const char* path) {
    if (next) tell_event(shown, REPLACED_EVENT_LINE, path);
    return next;
}

}  // namespace

// Whether an identity tells nothing: no index, or all ones, which ReFS gives
// for any id that does not fit in 64 bits.
static bool unknown(const os::FileId& id) {
    const std::uint64_t all = ~std::uint64_t(0);
    return (id.index == 0 && id.index_high == 0) ||
           (id.index == all && (id.index_high == 0 || id.index_high == all));
}

bool other_file(const os::FileId& open, const os::FileId& named) {
    // A file system that gives no index cannot tell files apart.
    if (unknown(open) || unknown(named)) return false;
    // A handle to a file just renamed may give volume 0 for a moment.
    if (open.volume != 0 && named.volume != 0 && open.volume != named.volume) return true;
    return open.index != named.index || open.index_high != named.index_high;
}

Pass follow_pass(std::FILE*& log, Shown& shown, const char* path, std::FILE* out) {
    // A deleted log was let go: a file under its name is the log again.
    if (!log && !(log = switch_to(os::open_log(path), shown, path))) return Pass::FOLLOWING;
    std::FILE* next = replacement(log, path);
    const bool let_go = !next && os::deleted(log);
    // The old file's last bytes come first; its writer may have added
    // some before it moved on.
    Pass pass = copy_appended(log, shown, path, out);
    if (pass == Pass::FOLLOWING && (next || let_go)) {
        std::fclose(log);
        log = switch_to(next, shown, path);
        if (log) pass = copy_appended(log, shown, path, out);
    } else if (next) {
        std::fclose(next);
    }
    return pass;
}

int follow_file(std::FILE* log, os::offset start, const char* path,
                std::FILE* out) {
    // The log's bytes pass exactly: no line feed of theirs becomes CR LF.
    os::set_binary_mode(out);
    Shown shown;
    shown.position = start;
    Pass pass;
    while ((pass = follow_pass(log, shown, path, out)) == Pass::FOLLOWING) {
        os::Sleep(POLL_INTERVAL_MS);
    }
    // A reader that has gone ends follow without a word, as it ends any
    // writer in a pipeline. Any other write that fails would leave a hole
    // in the copy: a full disk, say.
    if (pass == Pass::SEEK_FAILED) tell_on_stderr(TAIL_FAILURE_LINE, path);
    if (pass == Pass::WRITE_FAILED) os::write_stderr(WRITE_FAILURE_LINE);
    if (log) std::fclose(log);
    return 1;
}
