// The platform as the unit tests see it: one state that each faked job
// answers from and writes to. Tests set what the system holds and read
// back what the user and the system saw at each moment; nothing records
// calls.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

struct Fake {
    // Variables; the temporary directory as GetTempPathA gives it; short
    // names; how often DISPLAY was read, and whether the console window was
    // visible the last time.
    std::map<std::string, std::string> env;
    std::string temp_dir = "C:\\Users\\ana\\AppData\\Local\\Temp\\";
    bool temp_fails = false;
    std::map<std::string, std::string> short_names;
    int display_reads = 0;
    bool display_read_while_visible = false;

    // A clock that only pauses move; each pause runs at_pause, where a test
    // changes the world.
    unsigned long clock_ms = 0;
    std::function<void()> at_pause;

    // Whether anything was asked of the platform before the common
    // controls were ready.
    bool controls_ready = false;
    bool asked_before_controls = false;

    // The console: no title stands for no console. Its window takes a title
    // 40 ms after it is set and is found by it only then; another window,
    // met first by a look-up, may carry a title too.
    bool has_title = true;
    std::string console_title = "C:\\Windows\\system32\\cmd.exe";
    unsigned long title_set_at_ms = 0;
    bool window_exists = true, window_visible = true;
    bool window_in_front = false, in_front_when_shown = false;
    std::string console_class = "ConsoleWindowClass";
    std::string other_window_title;
    bool other_window_visible = true;

    // Boxes, with what the user saw while each was up.
    bool window_station_visible = true, services_session = false;
    unsigned box_code_page = 65001;
    struct Box {
        void* owner;
        std::string text, caption;
        unsigned style;
        bool console_visible;
        std::string console_title;
        bool controls_ready;
    };
    std::vector<Box> boxes;

    // The argument the code page changed on its way in (0: none).
    int best_fitted_argument = 0;
    bool argument_count_exact = true;

    // Whether a failed write met a gone reader; standard error, and the
    // console's title when it was last written.
    bool reader_gone = false;
    unsigned stderr_code_page = 65001;
    std::string stderr_text, title_when_told;
};

// The one state; reset it before each test.
Fake& fake();
void reset_fake();
// Notes that the platform was asked something, before the controls or not.
void fake_asked();
