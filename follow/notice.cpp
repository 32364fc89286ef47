// Telling the user about a log that cannot be opened: in a warning box
// while the console window is hidden, or on standard error when there is
// no console title or no console window to be found.
#include <cstring>

#include "follow.h"
#include "messages.h"
#include "platform/box.h"
#include "platform/process.h"
#include "tell.h"
#include "text.h"

namespace {

constexpr std::size_t TITLE_BUF_SIZE = 1024;
constexpr std::size_t MESSAGE_BUF_SIZE = 299;
// The class of a pseudoconsole's window, which is never shown.
constexpr const char* PSEUDO_CONSOLE_CLASS = "PseudoConsoleWindow";

void tell_open_failure_in_box(const char* path) {
    char message[MESSAGE_BUF_SIZE];
    format_for_user(message, MESSAGE_BUF_SIZE, os::box_code_page(), OPEN_FAILURE_BOX, path,
                    env_or_default("DISPLAY", DISPLAY_NOT_SET));
    tell_in_box(OPEN_FAILURE_CAPTION, message);
}

}  // namespace

// Under a pseudoconsole, as in Windows Terminal, the console's title goes
// to the terminal, whose window holds every other tab too: none of it is
// follow's to hide.
bool console_is_pseudo() {
    char class_name[64];
    os::Window console = os::GetConsoleWindow();
    return console && os::GetClassNameA(console, class_name, sizeof class_name) > 0 &&
           std::strcmp(class_name, PSEUDO_CONSOLE_CLASS) == 0;
}

// A console window has no handle of its own to ask for, so the console is
// given a title for a moment, long enough for its window to take it, and
// the window is looked up by that title. The title names this process:
// the look-up ignores case and takes any top-level window, another
// follow's console included.
os::Window find_console_window(const wchar_t* saved_title) {
    char title[TITLE_BUF_SIZE];
    bounded_format(title, sizeof title, PASSING_TITLE, os::GetCurrentProcessId());
    os::SetConsoleTitleA(title);
    os::Sleep(TITLE_SETTLE_MS);
    os::Window console = os::FindWindowA(nullptr, title);
    os::SetConsoleTitleW(saved_title);
    return console;
}

int report_open_failure(const char* path) {
    wchar_t saved_title[TITLE_BUF_SIZE];
    // No title to borrow: no console at all, as in a terminal that is not
    // a console or for a program started detached; or a title but no
    // window to find, as for a console made without one. Standard error is
    // then the one place left to tell it. Redirected output changes
    // neither: the console, its title and its window stay.
    os::Window console = nullptr;
    if (os::GetConsoleTitleW(saved_title, TITLE_BUF_SIZE) != 0) {
        if (console_is_pseudo()) {
            tell_open_failure_in_box(path);
            return 1;
        }
        saved_title[TITLE_BUF_SIZE - 1] = L'\0';
        console = find_console_window(saved_title);
    }
    if (!console) {
        tell_on_stderr(OPEN_FAILURE_LINE, path);
        return 1;
    }
    os::ShowWindow(console, os::WINDOW_HIDE);
    tell_open_failure_in_box(path);
    os::SetForegroundWindow(console);
    os::ShowWindow(console, os::WINDOW_SHOW);
    return 1;
}
