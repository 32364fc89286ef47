// The built follow program itself, started on a real log: under Wine for
// follow.exe, natively for follow. The program's path is the argument.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "process.h"
#include "program_args.h"
#include "temp_file.h"

namespace fs = std::filesystem;

namespace {

std::string program;

std::string numbered_lines(int first, int last, const char* newline) {
    std::string text;
    for (int i = first; i <= last; ++i) text += "server line " + std::to_string(i) + newline;
    return text;
}

// The log's bytes come out exactly: a CR LF line stays CR LF.
TEST(FollowProgram, ShowsTheTailThenWhatIsAppended) {
    TempFile log(numbered_lines(1, 25, "\n"));
    Child follow;
    ASSERT_TRUE(follow.start({program, log.path()}));

    const std::string tail = numbered_lines(16, 25, "\n");
    EXPECT_EQ(follow.read_at_least(tail.size(), 10000), tail);

    log.append("appended later\r\n");
    const std::string later = "appended later\r\n";
    // One poll interval and then some; an unflushed pipe never shows it.
    EXPECT_EQ(follow.read_at_least((tail + later).size(), 3000), tail + later);

    EXPECT_TRUE(follow.running()) << "follow ends only when stopped";
    follow.stop();
}

// A restarted server writes its log anew: the same banner and lines after
// a new first time stamp, and soon one line more than before.
TEST(FollowProgram, RestartedServersLogIsShownFromItsStart) {
    auto server_log = [](const char* started, int lines) {
        return "Ostrel X server " + std::string(600, '=') + "\n" + started + "\n" +
               numbered_lines(1, lines, "\n");
    };
    TempFile log(server_log("10:00:00 pid 111", 12));
    Child follow;
    ASSERT_TRUE(follow.start({program, log.path()}));
    const std::string tail = numbered_lines(3, 12, "\n");
    ASSERT_EQ(follow.read_at_least(tail.size(), 10000), tail);
    log.rewrite(server_log("10:05:00 pid 222", 13));
    const std::string shown = tail + server_log("10:05:00 pid 222", 13);
    EXPECT_EQ(follow.read_at_least(shown.size(), 3000), shown);
    follow.stop();
    EXPECT_EQ(follow.error_text(), "follow: " + log.path() + ": file truncated" + PIPE_NEWLINE);
}

// A server that starts anew may rename its last run's log aside and write a
// new one under the name: the old run's last bytes come first, then the new
// log from its start. A log renamed aside and back, within one poll or
// across polls, is the same file.
TEST(FollowProgram, KeepsToTheLogUnderItsName) {
    TempFile log("before\n");
    const std::string aside = log.path() + ".old";
    auto move = [](const std::string& from, const std::string& to) {
        std::error_code error;
        fs::rename(from, to, error);
        ASSERT_FALSE(error) << "rename: " << error.message();
    };
    Child follow;
    ASSERT_TRUE(follow.start({program, log.path()}));
    std::string shown = "before\n";
    ASSERT_EQ(follow.read_at_least(shown.size(), 10000), shown);

    move(log.path(), aside);
    move(aside, log.path());
    move(log.path(), aside);
    follow.pump_for(1500);
    move(aside, log.path());
    log.append("still the same\n");
    shown += "still the same\n";
    EXPECT_EQ(follow.read_at_least(shown.size(), 3000), shown);

    // Its last line cut off: the event starts a line of its own.
    log.append("last words\r\nof the old run");
    move(log.path(), aside);
    log.rewrite("a new run\r\n");
    shown += "last words\r\nof the old run" "a new run\r\n";
    EXPECT_EQ(follow.read_at_least(shown.size(), 3000), shown);
    follow.pump_for(1500);
    EXPECT_EQ(follow.output(), shown);
    EXPECT_TRUE(follow.running());
    follow.stop();
    EXPECT_EQ(follow.error_text(),
              std::string(PIPE_NEWLINE) + "follow: " + log.path() + ": file replaced" + PIPE_NEWLINE);
    std::error_code error;
    fs::remove(aside, error);
    EXPECT_FALSE(error) << "delete: " << error.message();
}

// A folder that no single-byte code page holds, named as the argument and
// as the temporary directory of the default log.
TEST(FollowProgram, FollowsLogsInFoldersOfAnyName) {
    const std::string folder = scratch_path("logs") + u8" Łódź 日志";
    fs::create_directories(fs::u8path(folder));
    const std::string log = (fs::u8path(folder) / "Ostrel.7.log").u8string();
    write_bytes(log, "in a foreign folder\n");
    const std::string shown = "in a foreign folder\n";
    auto shows_the_log = [&](const std::vector<std::string>& args) {
        Child follow;
        ASSERT_TRUE(follow.start(args));
        EXPECT_EQ(follow.read_at_least(shown.size(), 10000), shown);
    };
    shows_the_log({program, log});
    {
        ScopedVariable tmp("TMP", folder), temp("TEMP", folder), tmpdir("TMPDIR", folder);
        ScopedVariable disno("DISNO", "7");
        shows_the_log({program});
    }
    fs::remove_all(fs::u8path(folder));
    // An empty TMPDIR is none: the system's own temporary directory.
#ifdef _WIN32
    const fs::path system_temp = fs::temp_directory_path();
#else
    const fs::path system_temp = "/tmp";
#endif
    const std::string display = fs::path(scratch_path("display")).filename().u8string();
    const fs::path system_log = system_temp / fs::u8path("Ostrel." + display + ".log");
    write_bytes(system_log.u8string(), shown);
    {
        ScopedVariable tmpdir("TMPDIR", ""), disno("DISNO", display);
        shows_the_log({program});
    }
    fs::remove(system_log);
}

// Every child here has a console with no window (CREATE_NO_WINDOW; see
// Child::start): standard error tells it, in both builds. A folder is no
// log in either.
TEST(FollowProgram, MissingLogIsToldOnStandardError) {
    const std::string missing = scratch_path("no-such-log");
    const std::string folder = scratch_path("a-folder");
    fs::create_directories(folder);
    for (const std::string& path : {missing, folder}) {
        Child follow;
        ASSERT_TRUE(follow.start({program, path}));
        EXPECT_EQ(follow.wait(10000), 1) << path;
        EXPECT_EQ(follow.read_at_least(0, 0), "");
        EXPECT_EQ(follow.error_text(), "follow: can't open " + path + PIPE_NEWLINE);
    }
    fs::remove_all(folder);
}

#ifdef _WIN32
// NTFS allows a lone surrogate in a name. The runtime gives the program
// U+FFFD in its place, another file's name: that file is never followed.
TEST(FollowProgram, NameWithALoneSurrogateNamesNoOtherFile) {
    const std::string folder = scratch_path("surrogate");
    fs::create_directories(fs::u8path(folder));
    write_bytes(folder + u8"\\s\uFFFD.log", "WRONG\n");
    Child follow;
    ASSERT_TRUE(follow.start({program, folder + "\\s\xED\xA0\x80.log"}));
    EXPECT_EQ(follow.wait(10000), 1);
    EXPECT_EQ(follow.output(), "");
    EXPECT_EQ(follow.error_text(), "follow: can't open " + folder + u8"\\s\uFFFD.log" + PIPE_NEWLINE);
    fs::remove_all(fs::u8path(folder));
}
#endif

// As every console tool, it explains itself; no file is named /? or -?.
// A usage that cannot be written is told as a copy that cannot be.
TEST(FollowProgram, QuestionMarkShowsTheUsage) {
    const std::string last_line =
        std::string("display DISNO: %TEMP%\\Ostrel.<DISNO>.log (DISNO unset: 0).") + PIPE_NEWLINE;
    for (const char* ask : {"/?", "-?"}) {
        Child follow, refused;
        ASSERT_TRUE(follow.start({program, ask}) && refused.start({program, ask}, true));
        EXPECT_EQ(follow.wait(10000), 0) << ask;
        follow.pump_for(200);
        EXPECT_NE(follow.output().find(last_line), std::string::npos) << follow.output();
        EXPECT_EQ(follow.error_text(), "");
        EXPECT_EQ(refused.wait(10000), 1) << ask;
        EXPECT_EQ(refused.error_text(), "follow: can't write standard output" + std::string(PIPE_NEWLINE));
    }
}

// A folder holding exactly one log: expanded, the pattern would name it and
// follow would go on following.
TEST(FollowProgram, WildcardsAreNotExpanded) {
    const fs::path folder = fs::u8path(scratch_path("one-log"));
    fs::create_directories(folder);
    write_bytes((folder / "only.log").u8string(), "x\n");
    const std::string pattern = folder.u8string() + "/*.log";
    Child follow;
    ASSERT_TRUE(follow.start({program, pattern}));
    EXPECT_EQ(follow.wait(5000), 1);
    EXPECT_EQ(follow.error_text(), "follow: can't open " + pattern + PIPE_NEWLINE);
    fs::remove_all(folder);
}

// follow.exe | head: once the reader has gone, before a line is appended
// or in the midst of a burst larger than a pipe holds, follow ends
// silently. Output that cannot be written, to a full disk say, ends it at
// once, with a line.
TEST(FollowProgram, EndsWhenItsOutputCannotBeWritten) {
    TempFile log("shown\n");
    Child gone, gone_in_burst, refused;
    ASSERT_TRUE(gone.start({program, log.path()}) && gone_in_burst.start({program, log.path()}) &&
                refused.start({program, log.path()}, true));
    ASSERT_EQ(gone.read_at_least(6, 10000), "shown\n");
    ASSERT_EQ(gone_in_burst.read_at_least(6, 10000), "shown\n");
    gone.close_output();
    log.append(std::string(1300000, 'x'));
    gone_in_burst.read_at_least(100000, 10000);
    gone_in_burst.close_output();
    for (Child* ended : {&gone, &gone_in_burst}) {
        EXPECT_EQ(ended->wait(5000), 1);
        EXPECT_EQ(ended->error_text(), "");
    }
    EXPECT_EQ(refused.wait(5000), 1);
    refused.stop();  // one that goes on would hold standard error open
    EXPECT_EQ(refused.error_text(), std::string("follow: can't write standard output") + PIPE_NEWLINE);
}

}  // namespace

int main(int argc, char** argv) {
    return run_tests_on_programs(argc, argv, {&program}, "e2e_follow PATH-OF-FOLLOW");
}
