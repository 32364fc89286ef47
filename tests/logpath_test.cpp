#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fake.h"
#include "follow.h"
#include "program_args.h"
#include "text.h"

namespace {

// The log chosen for each argument vector, temporary directory and DISNO:
// the single argument, or the server's log for display DISNO in the
// temporary directory. A path cut at the buffer's end names some other
// file: it is refused, and shown cut and marked where what was asked for
// is not the argument itself.
TEST(LogPath, ChosenFromArgumentsTempDirAndDisno) {
    const std::string T = "C:\\Users\\ana\\AppData\\Local\\Temp\\";
    const auto dir = [](std::size_t length) { return std::string(length - 1, 't') + "\\"; };
    const auto cut = [](const std::string& whole) { return whole.substr(0, 257) + "..."; };
    const std::string a = "a", nines(100, '9');
    struct Case {
        std::vector<std::string> args;
        std::optional<std::string> temp_dir;  // nullopt: the call fails
        const char* disno;                    // nullptr: not set
        bool accepted;
        std::string path;
    } cases[] = {
        {{"D:\\logs\\server.log"}, std::nullopt, nullptr, true, "D:\\logs\\server.log"},
        {{""}, T, nullptr, true, ""},
        {{repeated(a, 260)}, T, nullptr, true, repeated(a, 260)},
        {{repeated(a, 261)}, T, nullptr, false, repeated(a, 260)},
        {{repeated(a, 300)}, T, nullptr, false, repeated(a, 260)},
        {{}, T, nullptr, true, T + "Ostrel.0.log"},
        {{}, T, "", true, T + "Ostrel..log"},
        {{}, T, "2", true, T + "Ostrel.2.log"},
        {{"a.log", "b.log"}, T, "7", true, T + "Ostrel.7.log"},
        {{"a", "b", "c"}, T, nullptr, true, T + "Ostrel.0.log"},
        {{}, std::nullopt, nullptr, true, "Ostrel.0.log"},
        {{}, dir(248), "0", true, dir(248) + "Ostrel.0.log"},  // exactly 260
        {{}, dir(260), "0", false, cut(dir(260))},             // room for the terminator only
        {{}, dir(250), "0", false, cut(dir(250) + "Ostrel.0.log")},  // .log goes first
        {{}, dir(248), "12", false, cut(dir(248) + "Ostrel.12.log")},
        {{}, dir(200), nines.c_str(), false, cut(dir(200) + "Ostrel." + nines)},
        {{}, dir(261), "0", false, "Ostrel.0.log"},
        {{}, dir(262), "0", false, "Ostrel.0.log"},
        {{}, dir(400), "0", false, "Ostrel.0.log"},
    };
    for (const Case& c : cases) {
        reset_fake();
        fake().temp_fails = !c.temp_dir;
        fake().temp_dir = c.temp_dir.value_or("");
        if (c.disno) fake().env["DISNO"] = c.disno;
        Argv argv("follow.exe", c.args);
        char path[PATH_BUF_SIZE];
        EXPECT_EQ(resolve_log_path(argv.count(), argv.get(), path), c.accepted) << c.path;
        EXPECT_EQ(path, c.path);
    }
}

// Formatting and copying never write past the size, always terminate, and
// tell whether the whole fitted.
TEST(BoundedFormat, AlwaysTerminatesAndNeverOverruns) {
    struct Case {
        std::size_t size;
        const char* text;
        const char* kept;
        bool fits;
    } cases[] = {
        {4, "abcdef", "abc", false}, {4, "abcd", "abc", false}, {4, "abc", "abc", true},
        {1, "abcdef", "", false},    {4, "", "", true},         {1, "", "", true},
    };
    for (const Case& c : cases) {
        char buf[8];
        std::memset(buf, 'x', sizeof buf);
        EXPECT_EQ(bounded_format(buf, c.size, "%s", c.text), c.fits) << c.size << c.text;
        EXPECT_STREQ(buf, c.kept);
        EXPECT_EQ(buf[c.size], 'x') << c.size << c.text;
        std::memset(buf, 'x', sizeof buf);
        bounded_copy(buf, c.size, c.text);
        EXPECT_STREQ(buf, c.kept);
        EXPECT_EQ(buf[c.size], 'x') << c.size << c.text;
    }
}

}  // namespace
