#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fake.h"
#include "follow.h"
#include "program_args.h"
#include "temp_file.h"
#include "told_paths.h"

namespace fs = std::filesystem;

namespace {

// What the user sees of a log that cannot be opened, in each kind of
// console. Whatever the kind, the console has its own title again before
// anything is shown and after, its window is visible at the end, and the
// status is 1.
TEST(OpenFailure, WhatTheUserSeesInEachConsole) {
    struct Case {
        const char* name;
        bool has_title, window;
        const char* console_class;
        const char* other_window;
        bool box, hidden_behind_box;
    } cases[] = {
        {"console window", true, true, "ConsoleWindowClass", "", true, true},
        // The passing title is this process's alone: another window titled
        // follow, in any case, another follow's console say, is not taken
        // for the console, even where the look-up meets it first.
        {"another window titled FOLLOW", true, true, "ConsoleWindowClass", "FOLLOW", true, true},
        // Under a pseudoconsole (Windows Terminal) the window the title
        // reaches is the terminal's, tabs and all: nothing is hidden.
        {"pseudoconsole", true, true, "PseudoConsoleWindow", "", true, false},
        {"no window", true, false, "ConsoleWindowClass", "", false, false},
        {"no console", false, false, "", "", false, false},
    };
    for (const Case& c : cases) {
        reset_fake();
        Fake& f = fake();
        f.has_title = c.has_title;
        f.window_exists = c.window;
        f.console_class = c.console_class;
        f.other_window_title = c.other_window;
        const std::string title = f.console_title;
        EXPECT_EQ(report_open_failure("D:\\logs\\missing.log"), 1) << c.name;
        EXPECT_EQ(f.console_title, title) << c.name;
        EXPECT_TRUE(f.window_visible && f.other_window_visible) << c.name;
        if (!c.box) {
            EXPECT_TRUE(f.boxes.empty()) << c.name;
            EXPECT_EQ(f.stderr_text, "follow: can't open D:\\logs\\missing.log\n") << c.name;
            EXPECT_EQ(f.title_when_told, title) << c.name;
            EXPECT_EQ(f.display_reads, 0) << c.name << ": DISPLAY is no business of the line";
            continue;
        }
        EXPECT_EQ(f.stderr_text, "") << c.name;
        ASSERT_EQ(f.boxes.size(), 1u) << c.name;
        const Fake::Box& box = f.boxes[0];
        EXPECT_EQ(box.text, "Can't open file...\nD:\\logs\\missing.log\n\nDISPLAY \"not set\"");
        EXPECT_EQ(box.caption, "follow.exe error");
        EXPECT_EQ(box.style, 0x30u);
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.console_title, title) << c.name;
        EXPECT_EQ(box.console_visible, !c.hidden_behind_box) << c.name;
        // DISPLAY is read only once the window is hidden; the window is
        // brought to the front, then shown.
        EXPECT_EQ(f.display_read_while_visible, !c.hidden_behind_box) << c.name;
        EXPECT_EQ(f.in_front_when_shown, c.hidden_behind_box) << c.name;
    }
}

TEST(OpenFailure, LongestTitleIsRestoredTerminated) {
    reset_fake();
    fake().console_title = std::string(2000, 't');
    report_open_failure("x.log");
    EXPECT_EQ(fake().console_title, std::string(1023, 't'));
}

// Every row of what the user is told of a path, through the entry, in the
// box and on standard error, in a folder where each name that a row must
// never open exists.
TEST(OpenFailure, WhatTheUserIsToldOfAPath) {
    const fs::path here = fs::current_path();
    const fs::path folder = scratch_path("cwd");
    fs::create_directories(folder / CUT_DIR);
    fs::current_path(folder);
    for (const std::string& name : never_opened()) write_bytes(name, "WRONG\n");
    for (const ToldPath& c : told_paths()) {
        // The native stand-in knows no code page but UTF-8.
        if (c.code_page != 65001 && fs::path::preferred_separator != '\\') continue;
        for (bool window : {true, false}) {
            reset_fake();
            Fake& f = fake();
            f.window_exists = window;
            f.temp_dir = c.temp_dir;
            f.env["DISNO"] = c.disno;
            if (c.display) f.env["DISPLAY"] = *c.display;
            f.best_fitted_argument = c.exact ? 0 : 1;
            f.argument_count_exact = c.count_exact;
            // The other channel's code page is UTF-8: each channel reads in
            // its own.
            (window ? f.box_code_page : f.stderr_code_page) = c.code_page;
            Argv argv("follow.exe", c.args);
            EXPECT_EQ(follow_main(argv.count(), argv.get()), 1) << c.in_box;
            EXPECT_FALSE(f.asked_before_controls) << "the common controls come first";
            if (!window) {
                const std::string& line = c.on_stderr.empty() ? c.in_box : c.on_stderr;
                EXPECT_EQ(f.stderr_text, "follow: can't open " + line + "\n");
                continue;
            }
            ASSERT_EQ(f.boxes.size(), 1u) << c.in_box;
            EXPECT_EQ(f.boxes[0].text,
                      "Can't open file...\n" + c.in_box + "\n\nDISPLAY " + c.display_line);
            EXPECT_TRUE(f.boxes[0].controls_ready);
        }
    }
    fs::current_path(here);
    std::error_code ignored;  // Windows cannot reach names this long
    fs::remove_all(folder, ignored);
}

}  // namespace
