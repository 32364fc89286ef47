// A recording stand-in for the platform operations: tests set what the
// platform answers and read back what the program asked of it, in order.
#pragma once

#include <map>
#include <string>
#include <vector>

struct FakeOs {
    std::string temp_dir = "C:\\Users\\ana\\AppData\\Local\\Temp\\";
    bool temp_fails = false;
    std::map<std::string, std::string> env;
    std::vector<std::string> calls;
    std::string stderr_text;

    // The console: no title to give stands for no console at all. Its
    // window answers to the console's current title when it exists.
    bool has_title = true;
    std::string console_title = "C:\\Windows\\system32\\cmd.exe";
    bool window_exists = true;
    bool window_visible = true;
    // The class of the console's own window: a pseudoconsole's is
    // PseudoConsoleWindow.
    std::string console_class = "ConsoleWindowClass";
    // Another top-level window, met first by a look-up by title.
    std::string other_window_title;
    bool other_window_visible = true;
    unsigned long process_id = 4242;

    // Whether the process's window station is one a user sees, and whether
    // it is in session 0, which nobody sees.
    bool window_station_visible = true;
    bool services_session = false;

    // Whether a failed write met a pipe whose reader has gone.
    bool output_reader_gone = false;

    // Whether the program's arguments, and their count, came in as the user
    // gave them.
    bool argument_exact = true;
    bool argument_count_exact = true;

    // The short names of paths that have one.
    std::map<std::string, std::string> short_names;

    struct Box {
        void* owner;
        std::string text, caption;
        unsigned style;
        bool console_visible;  // while the box was up
    };
    std::vector<Box> boxes;
};

// The fake every platform operation answers from; reset it per test.
FakeOs& fake_os();
void reset_fake_os();
