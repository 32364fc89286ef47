#include <gtest/gtest.h>

#include <string>

#include "fake_os.h"
#include "follow.h"
#include "temp_file.h"

namespace {

// A followed log with its output captured: each pass() is one poll.
class Following : public ::testing::Test {
protected:
    TempFile log_file;
    std::FILE* log = nullptr;
    std::FILE* out = nullptr;
    os::offset position = 0;

    void SetUp() override {
        reset_fake_os();
        log = std::fopen(log_file.path().c_str(), "rb");
        out = std::tmpfile();
        ASSERT_TRUE(log && out);
    }
    void TearDown() override {
        if (log) std::fclose(log);
        std::fclose(out);
    }
    void pass() { ASSERT_TRUE(follow_pass(log, position, log_file.path().c_str(), out)); }
    std::string shown() { return read_all(out); }
};

TEST_F(Following, EmptyLogShowsWhatIsAppendedLater) {
    pass();
    EXPECT_EQ(shown(), "");
    log_file.append("first\n");
    pass();
    pass();
    EXPECT_EQ(shown(), "first\n");
    EXPECT_EQ(position, 6);
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
    EXPECT_EQ(fake_os().stderr_text, "\nfollow: " + log_file.path() + ": file truncated\n");
    log_file.append("restarted\n");
    pass();
    EXPECT_EQ(shown(), "a long first life of the log\nrestarted\n");

    fake_os().stderr_text.clear();
    log_file.rewrite("new\n");  // shorter than before, rewritten within one poll
    pass();
    EXPECT_EQ(shown(), "a long first life of the log\nrestarted\nnew\n");
    EXPECT_EQ(fake_os().stderr_text, "\nfollow: " + log_file.path() + ": file truncated\n");
}

TEST_F(Following, GrowthLargerThanABlockIsCopiedWhole) {
    std::string big;
    for (int i = 0; big.size() < 3 * BLOCK_SIZE; ++i) big += std::to_string(i) + "\n";
    log_file.append(big);
    pass();
    EXPECT_EQ(shown(), big);
    EXPECT_EQ(position, static_cast<os::offset>(big.size()));
}

TEST_F(Following, FailedSeekEndsTheRunWithTheLogClosed) {
    EXPECT_FALSE(follow_pass(log, position = -1, "x.log", out));
    EXPECT_EQ(follow_file(log, -1, "C:\\logs\\x.log", out), 1);
    log = nullptr;  // closed by follow_file
    EXPECT_EQ(fake_os().stderr_text, "\nfollow: can't tail C:\\logs\\x.log\n");
    EXPECT_TRUE(fake_os().calls.empty()) << "no pause before the first pass";
}

TEST(FollowEntry, MissingLogEndsWithStatusOne) {
    reset_fake_os();
    std::string missing = scratch_path("missing");
    std::string self = "follow.exe";
    char* argv[] = {self.data(), missing.data(), nullptr};
    EXPECT_EQ(follow_main(2, argv), 1);
    EXPECT_EQ(fake_os().calls.front(), "InitCommonControls");
}

TEST(FollowEntry, TempDirThatDoesNotFitIsNeverOpened) {
    reset_fake_os();
    fake_os().temp_dir = std::string(300, 't') + "\\";
    std::string self = "follow.exe";
    char* argv[] = {self.data(), nullptr};
    EXPECT_EQ(follow_main(1, argv), 1);
}

}  // namespace
