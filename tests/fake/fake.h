// The platform as the unit tests see it: one state that each faked job
// answers from and writes to. Tests set what the system holds and read
// back what the user and the system see; nothing records calls.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

struct Fake {
    // Environment: variables, the temporary directory as GetTempPathA gives
    // it, separator included, and short names.
    std::map<std::string, std::string> env;
    std::string temp_dir = "C:\\Users\\ana\\AppData\\Local\\Temp\\";
    bool temp_fails = false;
    std::map<std::string, std::string> short_names;
    // How often DISPLAY was read, and whether the console window was
    // visible the last time.
    int display_reads = 0;
    bool display_read_while_visible = false;

    // Process: its id, and a clock that only pauses move. Each pause runs
    // at_pause, where a test changes the world; a loop that pauses far more
    // often than any test asks ends the test run rather than hang it.
    unsigned long process_id = 4242;
    unsigned long clock_ms = 0;
    std::function<void()> at_pause;

    // Common controls, and whether the platform was asked anything, a
    // variable, the arguments, the temporary directory, the console or the
    // window station, before they were ready.
    bool controls_ready = false;
    bool asked_before_controls = false;

    // The console: no title to give stands for no console at all. Its
    // window takes a new title 40 ms after it is set, and is found by it
    // only then.
    bool has_title = true;
    std::string console_title = "C:\\Windows\\system32\\cmd.exe";
    unsigned long title_set_at_ms = 0;
    bool window_exists = true;
    bool window_visible = true;
    bool window_in_front = false;
    // Whether the window was in front when it was last shown.
    bool in_front_when_shown = false;
    // A pseudoconsole's window has the class PseudoConsoleWindow.
    std::string console_class = "ConsoleWindowClass";
    // Another top-level window, met first by a look-up by title.
    std::string other_window_title;
    bool other_window_visible = true;

    // Boxes, with what the user saw while each was up, and the code page
    // their text is shown in.
    bool window_station_visible = true;
    unsigned box_code_page = 65001;
    bool services_session = false;
    struct Box {
        void* owner;
        std::string text, caption;
        unsigned style;
        bool console_visible;
        std::string console_title;
        bool controls_ready;
    };
    std::vector<Box> boxes;

    // The argument the code page changed on its way in (0: none), and
    // whether the count came in as the user gave it.
    int best_fitted_argument = 0;
    bool argument_count_exact = true;

    // Output: whether a failed write met a pipe whose reader has gone, the
    // code page standard error is shown in, and what reached it, with the
    // console's title then.
    bool reader_gone = false;
    unsigned stderr_code_page = 65001;
    std::string stderr_text;
    std::string title_when_told;
};

// The one state; reset it before each test.
Fake& fake();
void reset_fake();
// Notes that the platform was asked something, before the controls or not.
void fake_asked();
