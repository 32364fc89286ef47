#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_os.h"
#include "follow.h"
#include "program_args.h"
#include "text.h"

namespace {

struct Resolved {
    bool ok;
    std::string path;
};

Resolved resolve(std::vector<std::string> args) {
    Argv argv("follow.exe", std::move(args));
    char path[PATH_BUF_SIZE];
    bool ok = resolve_log_path(argv.count(), argv.get(), path);
    return {ok, path};
}

class LogPath : public ::testing::Test {
protected:
    void SetUp() override { reset_fake_os(); }
};

TEST_F(LogPath, OneArgumentIsTheLog) {
    Resolved r = resolve({"D:\\logs\\server.log"});
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.path, "D:\\logs\\server.log");
    EXPECT_TRUE(fake_os().calls.empty()) << "neither the temp dir nor DISNO is looked at";
}

TEST_F(LogPath, AnEmptyArgumentIsStillOneArgument) {
    Resolved r = resolve({""});
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.path, "");
}

// What was cut would name some other file.
TEST_F(LogPath, ArgumentLongerThan260IsRefused) {
    for (std::size_t length : {260u, 261u, 300u}) {
        Resolved r = resolve({std::string(length, 'a')});
        EXPECT_EQ(r.ok, length <= 260) << length;
        EXPECT_EQ(r.path, std::string(260, 'a').substr(0, length)) << length;
    }
}

TEST_F(LogPath, DefaultLogNamedAfterDisno) {
    const std::string temp = fake_os().temp_dir;
    struct Case {
        std::vector<std::string> args;
        const char* disno;  // nullptr: not set
        std::string expected;
    } cases[] = {
        {{}, nullptr, temp + "Ostrel.0.log"},
        {{}, "", temp + "Ostrel..log"},
        {{}, "2", temp + "Ostrel.2.log"},
        {{"a.log", "b.log"}, "7", temp + "Ostrel.7.log"},
        {{"a", "b", "c"}, nullptr, temp + "Ostrel.0.log"},
    };
    for (const Case& c : cases) {
        reset_fake_os();
        if (c.disno) fake_os().env["DISNO"] = c.disno;
        Resolved r = resolve(c.args);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.path, c.expected) << "args " << c.args.size();
        EXPECT_EQ(fake_os().calls.front(), "GetTempPathA 261");
    }
}

TEST_F(LogPath, FailingTempPathGivesBareName) {
    fake_os().temp_fails = true;
    Resolved r = resolve({});
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.path, "Ostrel.0.log");
}

// A name cut at the buffer's end is refused, and shown as cut.
TEST_F(LogPath, NameThatDoesNotFitIsRefused) {
    struct Case {
        std::size_t dir_length;
        std::string disno;
        bool ok;
        std::string expected_end;  // of the whole path
    } cases[] = {
        {248, "0", true, "t\\Ostrel.0.log"},  // exactly 260
        {260, "0", false, "tt..."},           // room for the terminator only
        {250, "0", false, "t\\Ostrel...."},     // .log goes first
        {248, "12", false, "\\Ostrel.12..."},
        {200, std::string(100, '9'), false, "\\Ostrel." + std::string(50, '9') + "..."},
    };
    for (const Case& c : cases) {
        reset_fake_os();
        fake_os().temp_dir = std::string(c.dir_length - 1, 't') + "\\";
        fake_os().env["DISNO"] = c.disno;
        Resolved r = resolve({});
        EXPECT_EQ(r.ok, c.ok) << c.dir_length;
        EXPECT_EQ(r.path.size(), std::min<std::size_t>(260, c.dir_length + 11 + c.disno.size()));
        EXPECT_EQ(r.path.substr(r.path.size() - c.expected_end.size()), c.expected_end);
    }
}

TEST_F(LogPath, TempDirThatDoesNotFitIsRefused) {
    for (std::size_t length : {261u, 262u, 400u}) {
        reset_fake_os();
        fake_os().temp_dir = std::string(length - 1, 't') + "\\";
        Resolved r = resolve({});
        EXPECT_FALSE(r.ok) << length;
        EXPECT_EQ(r.path, "Ostrel.0.log");
    }
}

TEST(BoundedFormat, AlwaysTerminatesAndNeverOverruns) {
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    bounded_format(buf, 4, "%s", "abcdef");
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(buf[4], 'x');
    bounded_format(buf, 1, "%s", "abcdef");
    EXPECT_STREQ(buf, "");
    bounded_copy(buf, 3, "hello");
    EXPECT_STREQ(buf, "he");
}

}  // namespace
