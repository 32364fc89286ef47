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

TEST_F(LogPath, LongArgumentIsCutTo260) {
    std::string arg(300, 'a');
    arg[259] = 'Z';
    Resolved r = resolve({arg});
    EXPECT_EQ(r.path, arg.substr(0, 260));
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

TEST_F(LogPath, NameIsCutAtTheBufferEnd) {
    struct Case {
        std::size_t dir_length;
        std::string disno;
        std::string expected_name;
    } cases[] = {
        {260, "0", ""},                      // room for the terminator only
        {250, "0", "Ostrel.0.l"},            // .log goes first
        {248, "12", "Ostrel.12.lo"},
        {200, std::string(100, '9'), "Ostrel." + std::string(53, '9')},
    };
    for (const Case& c : cases) {
        reset_fake_os();
        fake_os().temp_dir = std::string(c.dir_length - 1, 't') + "\\";
        fake_os().env["DISNO"] = c.disno;
        Resolved r = resolve({});
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.path, fake_os().temp_dir + c.expected_name);
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
