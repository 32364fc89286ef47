#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "fake_os.h"
#include "follow.h"
#include "program_args.h"
#include "temp_file.h"

namespace fs = std::filesystem;

namespace {

// A followed log with its output captured: each pass() is one poll.
class Following : public ::testing::Test {
protected:
    TempFile log_file;
    std::FILE* log = nullptr;
    std::FILE* out = nullptr;
    Shown state;

    void SetUp() override {
        reset_fake_os();
        log = os::open_log(log_file.path().c_str());
        out = std::tmpfile();
        ASSERT_TRUE(log && out);
    }
    void TearDown() override {
        if (log) std::fclose(log);
        std::fclose(out);
    }
    void pass() {
        ASSERT_EQ(follow_pass(log, state, log_file.path().c_str(), out), Pass::FOLLOWING);
    }
    std::string shown() { return read_all(out); }
};

TEST_F(Following, EmptyLogShowsWhatIsAppendedLater) {
    pass();
    EXPECT_EQ(shown(), "");
    log_file.append("first\n");
    pass();
    pass();
    EXPECT_EQ(shown(), "first\n");
    EXPECT_EQ(state.position, 6);
}

TEST_F(Following, TwoWritesBetweenPassesComeOutTogetherInOrder) {
    log_file.append("old\n");
    pass();
    log_file.append("one\r\n");
    log_file.append("two, no line feed");
    pass();
    EXPECT_EQ(shown(), "old\none\r\ntwo, no line feed");
    log_file.append(" yet\n");
    pass();
    EXPECT_EQ(shown(), "old\none\r\ntwo, no line feed yet\n");
    EXPECT_EQ(fake_os().stderr_text, "");
}

TEST_F(Following, RewrittenLogIsShownFromItsStart) {
    log_file.append("a long first life of the log\n");
    pass();
    log_file.rewrite("");
    pass();  // shrunk to nothing: told once, nothing to show yet
    EXPECT_EQ(fake_os().stderr_text, "follow: " + log_file.path() + ": file truncated\n");
    log_file.append("restarted\n");
    pass();
    EXPECT_EQ(shown(), "a long first life of the log\nrestarted\n");

    const std::string notice = "follow: " + log_file.path() + ": file truncated\n";
    fake_os().stderr_text.clear();
    log_file.rewrite("new\n");  // shorter than before, rewritten within one poll
    pass();
    EXPECT_EQ(shown(), "a long first life of the log\nrestarted\nnew\n");
    EXPECT_EQ(fake_os().stderr_text, notice);

    // Rewritten within one poll to the same length, then to a greater one,
    // each after a poll that found nothing new: the bytes before the
    // position tell it, read from the file and not from the stream's buffer.
    pass();
    log_file.rewrite("NEW\n");
    pass();
    pass();
    log_file.rewrite("a third life, longer\n");
    pass();
    EXPECT_EQ(shown(), "a long first life of the log\nrestarted\nnew\nNEW\na third life, longer\n");
    EXPECT_EQ(fake_os().stderr_text, notice + notice + notice);
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
        bool announced;
        std::string appended;  // shown after the change, when not announced
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
    // A notice starts a line of its own: after a line end of its own where
    // the log's last line shown had none.
    const std::string notice = "follow: " + log_file.path() + ": file truncated\n";
    for (const Case& c : cases) {
        const bool line_open = !c.before.empty() && c.before.back() != '\n';
        log_file.rewrite(c.before);
        state = Shown{};
        std::fclose(out);
        out = std::tmpfile();
        fake_os().stderr_text.clear();
        pass();
        log_file.rewrite(c.after);
        pass();
        pass();
        EXPECT_EQ(shown(), c.before + (c.announced ? c.after : c.appended)) << c.name;
        EXPECT_EQ(fake_os().stderr_text, c.announced ? (line_open ? "\n" : "") + notice : "") << c.name;
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
    log_file.append("kept\n");
    pass();
    log_file.append("last words\n");
    fs::remove(log_file.path());
    pass();
    EXPECT_EQ(log, nullptr);
    pass();
    log_file.rewrite("the next run\n");
    pass();
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(shown(), "kept\nlast words\nthe next run\n");
    EXPECT_EQ(fake_os().stderr_text, "follow: " + log_file.path() + ": file replaced\n");
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
    EXPECT_EQ(fake_os().stderr_text, "");
}

// A write that fails ends following at once: a reader that has gone
// without a word, as a pipeline's writer ends; any other failure, a full
// disk say, with a line, since the copy would have a hole.
TEST_F(Following, FailedWriteEndsFollowing) {
    log_file.append("shown to nobody\n");
    std::fclose(out);
    out = std::fopen(log_file.path().c_str(), "rb");  // no write can succeed
    for (bool reader_gone : {true, false}) {
        fake_os().output_reader_gone = reader_gone;
        const Pass ended = reader_gone ? Pass::READER_GONE : Pass::WRITE_FAILED;
        EXPECT_EQ(follow_pass(log, state, "x.log", out), ended);
        EXPECT_EQ(state.position, 0) << "nothing counted as shown";
        EXPECT_EQ(follow_file(log, 0, "x.log", out), 1);
        log = os::open_log(log_file.path().c_str());  // follow_file closed it
        EXPECT_EQ(fake_os().stderr_text, reader_gone ? "" : "follow: can't write standard output\n");
        EXPECT_EQ(std::count(fake_os().calls.begin(), fake_os().calls.end(), "Sleep 1000"), 0);
    }
}

TEST_F(Following, GrowthLargerThanABlockIsCopiedWhole) {
    std::string big;
    for (int i = 0; big.size() < 3 * BLOCK_SIZE; ++i) big += std::to_string(i) + "\n";
    log_file.append(big);
    pass();
    EXPECT_EQ(shown(), big);
    EXPECT_EQ(state.position, static_cast<os::offset>(big.size()));
}

TEST_F(Following, FailedSeekEndsTheRunWithTheLogClosed) {
    state.position = -1;
    EXPECT_EQ(follow_pass(log, state, "x.log", out), Pass::SEEK_FAILED);
    EXPECT_EQ(follow_file(log, -1, "C:\\logs\\x.log", out), 1);
    log = nullptr;  // closed by follow_file
    EXPECT_EQ(fake_os().stderr_text, "\nfollow: can't tail C:\\logs\\x.log\n");
    EXPECT_TRUE(fake_os().calls.empty()) << "no pause before the first pass";
}

TEST(FollowEntry, MissingLogEndsWithStatusOne) {
    reset_fake_os();
    Argv argv("follow.exe", {scratch_path("missing")});
    EXPECT_EQ(follow_main(argv.count(), argv.get()), 1);
    EXPECT_EQ(fake_os().calls.front(), "InitCommonControls");
}

// A path cut at the buffer's end, or best-fitted by the code page, names
// some other file, here one that exists: followed, the fake's pauses would
// run out. The notice names what was asked for, as far as the box or the
// line holds it: the line's end and the text around the path stay whole,
// and no character is split.
TEST(FollowEntry, PathsOtherThanTheOneAskedForAreNeverOpened) {
    const fs::path here = fs::current_path();
    const fs::path folder = scratch_path("cwd");
    const std::string dir = "ddddd", names = std::string(247, 'm');
    fs::create_directories(folder / dir);
    fs::current_path(folder);
    const std::string cut = dir + "/" + std::string(254, 'm');  // 260 characters
    write_bytes(cut, "WRONG\n");
    write_bytes(dir + "/Ostrel." + names, "WRONG\n");
    write_bytes("Ostrel.0.log", "WRONG\n");
    const auto e_acute = [](int n) { return repeated(u8"é", n); };
    write_bytes("Lodz.log", "WRONG\n");
    write_bytes("a b", "WRONG\n");
    struct Case {
        std::vector<std::string> args;
        std::string temp_dir, disno, named, line;  // in the box; on standard error if other
        bool exact = true, count_exact = true;     // as the code page gave them
    } cases[] = {
        {{}, std::string(300, 't') + "\\", "0", "Ostrel.0.log"},
        {{cut + "EXTRA.log"}, "", "", cut.substr(0, 257) + "...", cut + "EXTRA.log"},
        {{}, dir + "/", names + "EXTRA", dir + "/Ostrel." + names.substr(3) + "..."},
        {{std::string(1000, 'a')}, "", "", std::string(257, 'a') + "...",
         std::string(301, 'a') + "..."},
        {{"x" + e_acute(302)}, "", "", "x" + e_acute(128) + "...", "x" + e_acute(150) + "..."},
        {{}, "dddd/", e_acute(302), "dddd/Ostrel." + e_acute(122) + "..."},
        // Best-fitted from Łódź.log, and from two arguments between fullwidth quotes.
        {{"Lodz.log"}, "", "", "Lodz.log", "", false},
        {{"a b"}, "", "", "a b", "", true, false},
    };
    for (const Case& c : cases) {
        for (bool window : {true, false}) {
            reset_fake_os();
            fake_os().window_exists = window;
            fake_os().temp_dir = c.temp_dir;
            fake_os().env["DISNO"] = c.disno;
            fake_os().argument_exact = c.exact;
            fake_os().argument_count_exact = c.count_exact;
            Argv argv("follow.exe", c.args);
            EXPECT_EQ(follow_main(argv.count(), argv.get()), 1);
            if (!window) {
                const std::string& line = c.line.empty() ? c.named : c.line;
                EXPECT_EQ(fake_os().stderr_text, "follow: can't open " + line + "\n");
                continue;
            }
            ASSERT_EQ(fake_os().boxes.size(), 1u);
            EXPECT_EQ(fake_os().boxes[0].text,
                      "Can't open file...\n" + c.named + "\n\nDISPLAY \"not set\"");
        }
    }
    fs::current_path(here);
    std::error_code ignored;  // Windows cannot reach names this long
    fs::remove_all(folder, ignored);
}

}  // namespace
