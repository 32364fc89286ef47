#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_os.h"
#include "follow.h"
#include "program_args.h"

namespace {

using Calls = std::vector<std::string>;

// Saving the title and finding the window through a passing title.
Calls find_window_steps(const std::string& original_title) {
    return {"GetConsoleTitleW 1024", "SetConsoleTitleA follow", "Sleep 40",
            "FindWindowA (any) follow", "SetConsoleTitleW " + original_title};
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

TEST_F(OpenFailure, DisplayValueInTheBox) {
    struct Case {
        const char* display;
        const char* last_line;
    } cases[] = {
        {"", "DISPLAY \"\""},
        {"127.0.0.1:0.0", "DISPLAY \"127.0.0.1:0.0\""},
        {"has \"quotes\"", "DISPLAY \"has \"quotes\"\""},
    };
    for (const Case& c : cases) {
        SetUp();
        fake_os().env["DISPLAY"] = c.display;
        report_open_failure("x.log");
        EXPECT_EQ(box_text(), std::string("Can't open file...\nx.log\n\n") + c.last_line);
    }
}

TEST_F(OpenFailure, LongestPathIsShownWhole) {
    const std::string path(260, 'p');
    report_open_failure(path.c_str());
    std::string text = box_text();
    EXPECT_EQ(text.size(), 298u);
    EXPECT_EQ(text, "Can't open file...\n" + path + "\n\nDISPLAY \"not set\"");
}

TEST_F(OpenFailure, LongDisplayIsCutInItsValueOrClosingQuote) {
    const std::string fixed_start = "Can't open file...\n";
    for (std::size_t path_length : {0u, 200u, 257u, 260u}) {
        SetUp();
        const std::string path(path_length, 'p');
        const std::string display(300, 'd');
        fake_os().env["DISPLAY"] = display;
        report_open_failure(path.c_str());
        const std::string whole = fixed_start + path + "\n\nDISPLAY \"" + display + "\"";
        std::string text = box_text();
        EXPECT_EQ(text, whole.substr(0, 298)) << path_length;
        EXPECT_GE(text.size(), fixed_start.size() + path.size() + 10) << "path and fixed text whole";
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
