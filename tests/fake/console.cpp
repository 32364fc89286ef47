#include "platform/console.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "fake.h"

namespace {

// How long the console's window takes to show a title it was given.
constexpr unsigned long WINDOW_TAKES_TITLE_MS = 40;

// The console's window, found by its title; the console's own handle to
// it, which tells its class; another program's window.
os::Window const CONSOLE = reinterpret_cast<os::Window>(0x5150);
os::Window const CONSOLE_HOST = reinterpret_cast<os::Window>(0x5151);
os::Window const OTHER = reinterpret_cast<os::Window>(0x0BAD);

bool same_ignoring_case(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

void set_title(const std::string& title) {
    fake().console_title = title;
    fake().title_set_at_ms = fake().clock_ms;
}

}  // namespace

namespace os {

// The fake's title is bytes; each stands for one wide character. A title
// that does not fit fills the buffer with no terminator, as a console may.
unsigned long GetConsoleTitleW(wchar_t* buffer, unsigned long length) {
    fake_asked();
    Fake& f = fake();
    if (!f.has_title) return 0;
    const std::string& title = f.console_title;
    std::size_t n = title.size() < length ? title.size() + 1 : length;
    for (std::size_t i = 0; i < n; ++i) buffer[i] = static_cast<unsigned char>(title.c_str()[i]);
    return static_cast<unsigned long>(n < length ? title.size() : length);
}

void SetConsoleTitleW(const wchar_t* title) {
    std::string bytes;
    for (; *title; ++title) bytes += *title < 256 ? static_cast<char>(*title) : '?';
    set_title(bytes);
}

void SetConsoleTitleA(const char* title) { set_title(title); }

Window GetConsoleWindow() { return fake().has_title ? CONSOLE_HOST : nullptr; }

int GetClassNameA(Window window, char* class_name, int length) {
    const std::string& name = fake().console_class;
    if (window != CONSOLE_HOST || length < 1 || name.size() >= std::size_t(length)) return 0;
    std::memcpy(class_name, name.c_str(), name.size() + 1);
    return static_cast<int>(name.size());
}

Window FindWindowA(const char*, const char* title) {
    Fake& f = fake();
    if (!f.other_window_title.empty() && same_ignoring_case(f.other_window_title, title)) return OTHER;
    const bool title_taken = f.clock_ms - f.title_set_at_ms >= WINDOW_TAKES_TITLE_MS;
    return f.window_exists && title_taken && same_ignoring_case(f.console_title, title) ? CONSOLE
                                                                                       : nullptr;
}

void ShowWindow(Window window, int command) {
    Fake& f = fake();
    if (window == OTHER) f.other_window_visible = command != WINDOW_HIDE;
    if (window != CONSOLE) return;
    f.window_visible = command != WINDOW_HIDE;
    if (command == WINDOW_HIDE) f.window_in_front = false;
    if (command == WINDOW_SHOW) f.in_front_when_shown = f.window_in_front;
}

void SetForegroundWindow(Window window) {
    if (window == CONSOLE) fake().window_in_front = true;
}

}  // namespace os
