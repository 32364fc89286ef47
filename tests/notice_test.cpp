#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_os.h"
#include "follow.h"
#include "program_args.h"

namespace {

using Calls = std::vector<std::string>;

// Saving the title, asking what the console is, and finding its window
// through a passing title of this process's own.
Calls find_window_steps(const std::string& original_title) {
    return {"GetConsoleTitleW 1024", "GetConsoleWindow", "GetClassNameA",
            "SetConsoleTitleA follow 4242", "Sleep 40", "FindWindowA (any) follow 4242",
            "SetConsoleTitleW " + original_title};
}

Calls operator+(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class OpenFailure : public ::testing::Test {
protected:
    std::string original_title;
    void SetUp() override {
        reset_fake_os();
        original_title = fake_os().console_title;
    }
    std::string box_text() {
        EXPECT_EQ(fake_os().boxes.size(), 1u);
        return fake_os().boxes.empty() ? "" : fake_os().boxes[0].text;
    }
};

TEST_F(OpenFailure, ConsoleHiddenBehindTheBoxThenBroughtBack) {
    EXPECT_EQ(report_open_failure("C:\\Temp\\Ostrel.0.log"), 1);
    const Calls box_steps = {"ShowWindow 0", "getenv DISPLAY", "MessageBoxA",
                             "SetForegroundWindow", "ShowWindow 5"};
    EXPECT_EQ(fake_os().calls, find_window_steps(original_title) + box_steps);
    ASSERT_EQ(fake_os().boxes.size(), 1u);
    const FakeOs::Box& box = fake_os().boxes[0];
    EXPECT_EQ(box.text, "Can't open file...\nC:\\Temp\\Ostrel.0.log\n\nDISPLAY \"not set\"");
    EXPECT_EQ(box.caption, "follow.exe error");
    EXPECT_EQ(box.style, 0x30u);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_FALSE(box.console_visible);
    EXPECT_TRUE(fake_os().window_visible);
    EXPECT_EQ(fake_os().console_title, original_title);
    EXPECT_EQ(fake_os().stderr_text, "");
}

// What the box and the line on standard error show of the path and of
// DISPLAY: whole where they fit. Past that the path is cut, between
// characters and marked, before the DISPLAY line is; only a value too long
// for the box is cut itself. No control character reaches the user as such.
TEST_F(OpenFailure, NoticesShowPathAndDisplayWholeOrCutAndMarked) {
    const std::string p260(260, 'p'), e_acute = u8"é", d = "d";
    struct Case {
        std::string path;
        std::optional<std::string> display;
        std::string in_box, last_line, on_stderr;
    } cases[] = {
        {"x.log", "", "x.log", "\"\"", "x.log"},
        {"x.log", "127.0.0.1:0.0", "x.log", "\"127.0.0.1:0.0\"", "x.log"},
        {"x.log", "has \"quotes\"", "x.log", "\"has \"quotes\"\"", "x.log"},
        {p260, std::nullopt, p260, "\"not set\"", p260},
        {p260, "localhost:10.0", p260.substr(0, 250) + "...", "\"localhost:10.0\"", p260},
        {"xy" + repeated(e_acute, 200), std::nullopt, "xy" + repeated(e_acute, 127) + "...", "\"not set\"",
         "xy" + repeated(e_acute, 149) + "..."},
        {p260, repeated(d, 264), "...", "\"" + repeated(d, 264) + "\"", p260},
        {p260, repeated(d, 300), p260, "\"dddd...\"", p260},
        {"x.log", repeated(d, 300), "x.log", "\"" + repeated(d, 259) + "...\"", "x.log"},
        {"C:\\a\r\nfollow: fake\x1b[2J\x7f", "\n:0\t", "C:\\a??follow: fake?[2J?", "\"?:0?\"",
         "C:\\a??follow: fake?[2J?"},
        // C1 and bidirectional controls, one '?' each; their neighbours stay.
        {u8"C:\\a\u009B2J\u202Egol.txt\u2066\u00A0\u202F\u2069", u8"\u2067:0\u0080",
         u8"C:\\a?2J?gol.txt?\u00A0\u202F?", "\"?:0?\"", u8"C:\\a?2J?gol.txt?\u00A0\u202F?"},
    };
    for (const Case& c : cases) {
        for (bool window : {true, false}) {
            SetUp();
            fake_os().window_exists = window;
            if (c.display) fake_os().env["DISPLAY"] = *c.display;
            report_open_failure(c.path.c_str());
            if (window) {
                EXPECT_EQ(box_text(), "Can't open file...\n" + c.in_box + "\n\nDISPLAY " + c.last_line);
            } else {
                EXPECT_EQ(fake_os().stderr_text, "follow: can't open " + c.on_stderr + "\n");
            }
        }
    }
}

TEST_F(OpenFailure, NoWindowFoundGivesOneLineOnStandardError) {
    fake_os().window_exists = false;
    fake_os().env["DISPLAY"] = ":0";
    EXPECT_EQ(report_open_failure("D:\\logs\\missing.log"), 1);
    EXPECT_EQ(fake_os().stderr_text, "follow: can't open D:\\logs\\missing.log\n");
    EXPECT_EQ(fake_os().calls, find_window_steps(original_title));
    EXPECT_TRUE(fake_os().boxes.empty());
    EXPECT_EQ(fake_os().console_title, original_title);
}

TEST_F(OpenFailure, NoConsoleTitleGivesOneLineOnStandardError) {
    fake_os().has_title = false;
    fake_os().env["DISPLAY"] = ":0";
    EXPECT_EQ(report_open_failure("x.log"), 1);
    EXPECT_EQ(fake_os().calls, Calls{"GetConsoleTitleW 1024"}) << "title, window, DISPLAY untouched";
    EXPECT_EQ(fake_os().stderr_text, "follow: can't open x.log\n");
    EXPECT_TRUE(fake_os().boxes.empty());
}

// Under a pseudoconsole (Windows Terminal) the window the title reaches is
// the terminal's, tabs and all: nothing is hidden, and the box comes alone.
TEST_F(OpenFailure, PseudoConsoleGetsTheBoxWithNothingHidden) {
    fake_os().console_class = "PseudoConsoleWindow";
    EXPECT_EQ(report_open_failure("x.log"), 1);
    const Calls steps = {"GetConsoleTitleW 1024", "GetConsoleWindow", "GetClassNameA",
                         "getenv DISPLAY", "MessageBoxA"};
    EXPECT_EQ(fake_os().calls, steps);
    ASSERT_EQ(fake_os().boxes.size(), 1u);
    EXPECT_TRUE(fake_os().boxes[0].console_visible);
    EXPECT_EQ(fake_os().console_title, original_title);
}

// The passing title is this process's alone: another window titled
// follow, in any case, another follow's console say, is not taken for its
// console and hidden, even where the look-up meets it first.
TEST_F(OpenFailure, AnotherWindowTitledFollowIsNotTaken) {
    fake_os().other_window_title = "FOLLOW";
    report_open_failure("x.log");
    EXPECT_TRUE(fake_os().other_window_visible);
    ASSERT_EQ(fake_os().boxes.size(), 1u);
    EXPECT_FALSE(fake_os().boxes[0].console_visible);
}

TEST_F(OpenFailure, LongestTitleIsRestoredTerminated) {
    fake_os().console_title = std::string(2000, 't');
    report_open_failure("x.log");
    EXPECT_EQ(fake_os().console_title, std::string(1023, 't'));
}

TEST(FollowEntryNotice, MissingLogNamedInTheBox) {
    reset_fake_os();
    const std::string log = "Q:\\nowhere\\Ostrel.3.log";
    Argv argv("follow.exe", {log});
    EXPECT_EQ(follow_main(argv.count(), argv.get()), 1);
    ASSERT_EQ(fake_os().boxes.size(), 1u);
    EXPECT_EQ(fake_os().boxes[0].text, "Can't open file...\n" + log + "\n\nDISPLAY \"not set\"");
}

}  // namespace
