#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "fake.h"
#include "follow.h"
#include "memory_log.h"
#include "program_args.h"
#include "temp_file.h"

namespace fs = std::filesystem;

namespace {

// SHOWN checks what has been shown by then.
enum StepKind { APPEND, REWRITE, RENAME, DELETE, PASS, SHOWN };
struct Step {
    StepKind kind;
    std::string bytes;
};

// A followed log with its output captured: each pass() is one poll.
class Following : public ::testing::Test {
protected:
    TempFile log_file;
    std::FILE* log = nullptr;
    std::FILE* out = nullptr;
    Shown state;

    void SetUp() override {
        reset_fake();
        log = os::open_log(log_file.path().c_str());
        out = std::tmpfile();
        ASSERT_TRUE(log && out);
    }
    void TearDown() override {
        if (log) std::fclose(log);
        std::fclose(out);
        for (; asides > 0; --asides) fs::remove(log_file.path() + "." + std::to_string(asides));
    }
    int asides = 0;
    void pass() {
        ASSERT_EQ(follow_pass(log, state, log_file.path().c_str(), out), Pass::FOLLOWING);
    }
    std::string shown() { return read_all(out); }
    // A log and an output as new, with nothing told yet.
    void restart() {
        TearDown();
        log_file.rewrite("");
        SetUp();
        state = Shown{};
    }
    void run(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            switch (step.kind) {
            case APPEND: log_file.append(step.bytes); break;
            case REWRITE: log_file.rewrite(step.bytes); break;
            case RENAME: fs::rename(log_file.path(), log_file.path() + "." + std::to_string(++asides)); break;
            case DELETE: fs::remove(log_file.path()); break;
            case PASS: pass(); break;
            case SHOWN: EXPECT_EQ(shown(), step.bytes); break;
            }
        }
    }
    std::string with_path(std::string text) {
        for (std::size_t at; (at = text.find("%s")) != std::string::npos;) text.replace(at, 2, log_file.path());
        return text;
    }
};

// What the user sees of a log that changes between polls: each script is
// steps on the log and polls, then the bytes shown and the lines told on
// standard error (%s stands for the log's path).
TEST_F(Following, ScriptsOfChangesAndPolls) {
    const std::string T = "follow: %s: file truncated\n", R = "follow: %s: file replaced\n";
    std::string big;
    for (int i = 0; big.size() < 3 * BLOCK_SIZE; ++i) big += std::to_string(i) + "\n";
    struct Script {
        const char* name;
        std::vector<Step> steps;
        std::string shown, told;
    } scripts[] = {
        {"empty log, appended later", {{PASS}, {APPEND, "first\n"}, {PASS}, {PASS}}, "first\n", ""},
        {"growth larger than a block",
         {{APPEND, "first\n"}, {PASS}, {APPEND, big}, {PASS}, {APPEND, "more\n"}, {PASS}},
         "first\n" + big + "more\n", ""},
        {"growth across the head's end",
         {{APPEND, big.substr(0, 2000)}, {PASS}, {APPEND, big.substr(0, 3000)}, {PASS}},
         big.substr(0, 2000) + big.substr(0, 3000), ""},
        {"two writes between polls, together and in order",
         {{APPEND, "old\n"}, {PASS}, {APPEND, "one\r\n"}, {APPEND, "two, no line feed"}, {PASS},
          {SHOWN, "old\none\r\ntwo, no line feed"}, {APPEND, " yet\n"}, {PASS}},
         "old\none\r\ntwo, no line feed yet\n", ""},
        // Shrunk to nothing, told once; shorter than before within one
        // poll; then as long, then longer, each after a poll that found
        // nothing new: the bytes before the position tell it, read from the
        // file and not from the stream's buffer.
        {"rewritten, shown from its start",
         {{APPEND, "a long first life of the log\n"}, {PASS}, {REWRITE, ""}, {PASS}, {PASS},
          {APPEND, "restarted\n"}, {PASS}, {REWRITE, "new\n"}, {PASS}, {PASS}, {REWRITE, "NEW\n"},
          {PASS}, {PASS}, {REWRITE, "a third life, longer\n"}, {PASS}},
         "a long first life of the log\nrestarted\nnew\nNEW\na third life, longer\n", T + T + T + T},
        {"one byte shorter", {{APPEND, "abc\n"}, {PASS}, {REWRITE, "abc"}, {PASS}}, "abc\nabc", T},
        // The old file's last bytes first, then the new one from its start.
        {"rotated", {{APPEND, "one\n"}, {PASS}, {APPEND, "two\n"}, {RENAME}, {REWRITE, "new\n"}, {PASS},
                     {APPEND, "more\n"}, {PASS}},
         "one\ntwo\nnew\nmore\n", R},
    };
    for (const Script& s : scripts) {
        restart();
        run(s.steps);
        EXPECT_EQ(shown(), s.shown) << s.name;
        EXPECT_EQ(fake().stderr_text, with_path(s.told)) << s.name;
    }
}

// Each file let go is closed: on Windows an open one would keep the old
// log's name alive.
TEST_F(Following, RotationsLeaveNoFileOpen) {
    if (open_handle_count() < 0) GTEST_SKIP() << "this system counts no open handles";
    const std::vector<Step> rotation = {{APPEND, "line\n"}, {PASS}, {RENAME}, {REWRITE, ""}, {PASS}};
    run(rotation);
    const int open_after_one = open_handle_count();
    for (int i = 0; i < 4; ++i) run(rotation);
    EXPECT_EQ(open_handle_count(), open_after_one);
}

// What a log is by the poll after the one that showed it, and what follow
// makes of it: announced and shown from the start, or only what was
// appended.
TEST_F(Following, TellsALogWrittenAnewFromOneChangedInPlace) {
    std::string banner = "Ostrel X server\n";
    while (banner.size() < 600) banner += "(--) probed, (**) from config, (==) default\n";
    std::string config;
    for (int i = 1; i <= 12; ++i) config += "config line " + std::to_string(i) + "\n";
    const std::string big(HEAD_SIZE + 1000, 'b');
    struct Case {
        const char* name;
        std::string before, after;
        bool told;
        std::string appended;  // shown after the change, when not told
    } cases[] = {
        {"grown", "old\n", "old\nmore\n", false, "more\n"},
        {"shorter", "a long first life\n", "new\n", true, ""},
        {"emptied", "a long first life\n", "", true, ""},
        {"anew, as long", "old\n", "new\n", true, ""},
        {"anew, longer, same last lines",
         banner + "10:00:00 pid 111\n" + config, banner + "10:05:00 pid 222\n" + config + "more\n",
         true, ""},
        {"in place beyond the head", big + "status: 00%\n", big + "status: 50%\ndone\n", false,
         "done\n"},
        {"filled in beyond the head", big + std::string(8, '\0'), big + "filled!\ndone\n", false,
         "done\n"},
        {"reserved head filled in", std::string(HEAD_SIZE + 8, '\0'),
         "header\n" + std::string(HEAD_SIZE, '\0') + "\ndone\n", false, "done\n"},
        {"written head changed", "header\n" + std::string(HEAD_SIZE, '\0'),
         "HEADER\n" + std::string(HEAD_SIZE, '\0') + "\n", true, ""},
    };
    // An event starts a line of its own: after a line end of its own where
    // the log's last line shown had none.
    const std::string event = "follow: " + log_file.path() + ": file truncated\n";
    for (const Case& c : cases) {
        const bool line_open = !c.before.empty() && c.before.back() != '\n';
        log_file.rewrite(c.before);
        state = Shown{};
        std::fclose(out);
        out = std::tmpfile();
        fake().stderr_text.clear();
        pass();
        log_file.rewrite(c.after);
        pass();
        pass();
        EXPECT_EQ(shown(), c.before + (c.told ? c.after : c.appended)) << c.name;
        EXPECT_EQ(fake().stderr_text, c.told ? (line_open ? "\n" : "") + event : "") << c.name;
    }
}

// The scan leaves a small log whole in the stream's buffer, and a seek
// within the buffer keeps it: the first pass must read the file as it is
// by then.
TEST_F(Following, FirstPassReadsTheFileNotTheScansBuffer) {
    std::string before, after;
    for (int i = 1; i <= 12; ++i) {
        before += "line " + std::to_string(i) + "\n";
        after += "LINE " + std::to_string(i) + "\n";
    }
    log_file.rewrite(before);
    const os::offset start = find_tail_start(log);
    ASSERT_GT(start, 0);
    state.position = start;
    log_file.rewrite(after);
    pass();
    EXPECT_EQ(shown(), after.substr(static_cast<std::size_t>(start)));
}

// What the open log and the file under its name are taken for. A volume of
// 0 comes from a handle whose file was just renamed; an index of 0 from a
// file system that gives none, or from a name that holds nothing; one of
// all ones from ReFS, for an id that 64 bits cannot hold.
TEST(FileIdentity, OnlyFilesSurelyApartAreTwo) {
    struct Case {
        os::FileId open, named;
        bool two;
    } cases[] = {
        {{7, 100}, {7, 100}, false},
        {{7, 100}, {7, 101}, true},
        {{7, 100}, {8, 100}, true},
        {{0, 100}, {7, 100}, false},
        {{7, 100}, {0, 101}, true},
        {{7, 0}, {7, 0}, false},
        {{7, 0}, {8, 5}, false},
        {{7, 100}, {0, 0}, false},
        {{7, ~0ull}, {7, ~0ull}, false},
        {{7, ~0ull}, {7, 100}, false},
        {{7, ~0ull, ~0ull}, {7, 100}, false},
        {{7, 100, 1}, {7, 100, 2}, true},
        {{7, 100, 1}, {7, 100, 1}, false},
        {{7, ~0ull, 1}, {7, ~0ull, 2}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(other_file(c.open, c.named), c.two)
            << c.open.volume << ":" << c.open.index << " " << c.named.volume << ":" << c.named.index;
    }
}

// A deleted file loses its name at once, natively and on NTFS from Windows
// 10 1903 on, where its handle reports the deletion pending: it is let go
// after its last bytes, and the next file under the name is the log. Wine
// keeps the name until the last handle closes, and reports nothing.
TEST_F(Following, DeletedLogIsLetGoForTheNextUnderItsName) {
    if (running_under_wine()) GTEST_SKIP() << "Wine never reports a deletion pending";
    run({{APPEND, "kept\n"}, {PASS}, {APPEND, "last words\n"}, {DELETE}});
    // Its file is closed, so that the name is free for the next.
    const int open_before = open_handle_count();
    run({{PASS}});
    EXPECT_EQ(open_handle_count(), open_before - 1);
    run({{PASS}, {REWRITE, "the next run\n"}, {PASS}});
    EXPECT_EQ(shown(), "kept\nlast words\nthe next run\n");
    EXPECT_EQ(fake().stderr_text, with_path("follow: %s: file replaced\n"));
}

// A log reached through a link is the link's target, not another file.
TEST_F(Following, LogReachedThroughALinkIsItsTarget) {
    const std::string link = log_file.path() + ".link";
    std::error_code error;
    fs::create_symlink(log_file.path(), link, error);
    if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
    log_file.append("one\n");
    EXPECT_EQ(follow_pass(log, state, link.c_str(), out), Pass::FOLLOWING);
    log_file.append("two\n");
    EXPECT_EQ(follow_pass(log, state, link.c_str(), out), Pass::FOLLOWING);
    fs::remove(link);
    EXPECT_EQ(shown(), "one\ntwo\n");
    EXPECT_EQ(fake().stderr_text, "");
}

// A write that fails ends following at once: a reader that has gone
// without a word, as a pipeline's writer ends; any other failure, a full
// disk say, with a line, since the copy would have a hole.
TEST_F(Following, FailedWriteEndsFollowing) {
    log_file.append("shown to nobody\n");
    std::fclose(out);
    out = std::fopen(log_file.path().c_str(), "rb");  // no write can succeed
    for (bool reader_gone : {true, false}) {
        fake().reader_gone = reader_gone;
        const Pass ended = reader_gone ? Pass::READER_GONE : Pass::WRITE_FAILED;
        EXPECT_EQ(follow_pass(log, state, "x.log", out), ended);
        EXPECT_EQ(state.position, 0) << "nothing counted as shown";
        EXPECT_EQ(follow_file(log, 0, "x.log", out), 1);
        log = os::open_log(log_file.path().c_str());  // follow_file closed it
        EXPECT_EQ(fake().stderr_text, reader_gone ? "" : "follow: can't write standard output\n");
        EXPECT_EQ(fake().clock_ms, 0u) << "no pause once a write failed";
    }
}

TEST_F(Following, FailedSeekEndsTheRunWithTheLogClosed) {
    state.position = -1;
    EXPECT_EQ(follow_pass(log, state, "x.log", out), Pass::SEEK_FAILED);
    EXPECT_EQ(follow_file(log, -1, "C:\\logs\\x.log", out), 1);
    log = nullptr;  // closed by follow_file
    EXPECT_EQ(fake().stderr_text, "\nfollow: can't tail C:\\logs\\x.log\n");
    EXPECT_EQ(fake().clock_ms, 0u) << "no pause before the first pass";
}

#ifdef __GLIBC__
// follow looks for new bytes once a second: each poll comes
// POLL_INTERVAL_MS after the last, by the fake clock, and shows what was
// appended in the meantime. Here the log's seeks fail from the third
// second on, which ends following.
TEST(FollowLoop, LooksOnceASecond) {
    reset_fake();
    MemoryLog log{"one\n"};
    log.fail_from_ms = 3000;
    fake().at_pause = [&] { log.bytes += "at " + std::to_string(fake().clock_ms) + "\n"; };
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(follow_file(log.open(), 0, "x.log", out), 1);
    EXPECT_EQ(read_all(out), "one\nat 1000\nat 2000\n");
    EXPECT_EQ(fake().clock_ms, 3000u);
    EXPECT_EQ(fake().stderr_text, "\nfollow: can't tail x.log\n");
    std::fclose(out);
}
#endif

}  // namespace
