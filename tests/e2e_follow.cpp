// The built follow program itself, started on a real log: under Wine for
// follow.exe, natively for follow. The program's path is the argument.
#include <gtest/gtest.h>

#include <string>

#include "process.h"
#include "program_args.h"
#include "temp_file.h"

namespace {

std::string program;

std::string numbered_lines(int first, int last, const char* newline) {
    std::string text;
    for (int i = first; i <= last; ++i) text += "server line " + std::to_string(i) + newline;
    return text;
}

TEST(FollowProgram, ShowsTheTailThenWhatIsAppended) {
    TempFile log(numbered_lines(1, 25, "\n"));
    Child follow;
    ASSERT_TRUE(follow.start({program, log.path()}));

    const std::string tail = numbered_lines(16, 25, PIPE_NEWLINE);
    EXPECT_EQ(follow.read_until(tail, 10000), tail);

    log.append("appended later\n");
    const std::string later = std::string("appended later") + PIPE_NEWLINE;
    // One poll interval and then some; an unflushed pipe never shows it.
    EXPECT_EQ(follow.read_until(tail + later, 3000), tail + later);

    EXPECT_TRUE(follow.running()) << "follow ends only when stopped";
    follow.stop();
}

TEST(FollowProgram, MissingLogEndsWithStatusOne) {
    const std::string missing = scratch_path("no-such-log");
    Child follow;
    ASSERT_TRUE(follow.start({program, missing}));
    EXPECT_EQ(follow.wait(10000), 1);
    EXPECT_EQ(follow.read_until("", 0), "");
#ifdef _WIN32
    // Started on pipes with no console, it has no title to read: not a word.
    EXPECT_EQ(follow.error_text(), "");
#else
    EXPECT_EQ(follow.error_text(), "follow: can't open " + missing + "\n");
#endif
}

TEST(FollowProgram, WildcardsAreNotExpanded) {
    TempFile log("x\n");
    std::string dir = std::filesystem::path(log.path()).parent_path().string();
    Child follow;
    // Matches the log and more, but is no file's name: open fails.
    ASSERT_TRUE(follow.start({program, dir + "/*"}));
    EXPECT_EQ(follow.wait(10000), 1);
}

}  // namespace

int main(int argc, char** argv) {
    return run_tests_on_programs(argc, argv, {&program}, "e2e_follow PATH-OF-FOLLOW");
}
