#include "fake_os.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "os.h"
#include "text.h"

FakeOs& fake_os() {
    static FakeOs state;
    return state;
}

void reset_fake_os() { fake_os() = FakeOs{}; }

namespace os {

void InitCommonControls() { fake_os().calls.push_back("InitCommonControls"); }

unsigned long GetTempPathA(unsigned long length, char* buffer) {
    FakeOs& f = fake_os();
    f.calls.push_back("GetTempPathA " + std::to_string(length));
    if (f.temp_fails) return 0;
    unsigned long n = static_cast<unsigned long>(f.temp_dir.size());
    if (n + 1 > length) return n + 1;
    std::memcpy(buffer, f.temp_dir.c_str(), n + 1);
    return n;
}

// Nothing the programs do pauses this often but a follow loop that was
// never meant to start: end the test run rather than hang it.
void Sleep(unsigned long milliseconds) {
    fake_os().calls.push_back("Sleep " + std::to_string(milliseconds));
    if (std::count(fake_os().calls.begin(), fake_os().calls.end(), fake_os().calls.back()) > 100) {
        std::fputs("fake Sleep: a loop that never ends\n", stderr);
        std::abort();
    }
}

// The console's window, when the fake has one.
static Window const CONSOLE = reinterpret_cast<Window>(0x5150);

static bool same_ignoring_case(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The fake's title is bytes; each stands for one wide character. A title
// that does not fit fills the buffer with no terminator, as a console may.
unsigned long GetConsoleTitleW(wchar_t* buffer, unsigned long length) {
    FakeOs& f = fake_os();
    f.calls.push_back("GetConsoleTitleW " + std::to_string(length));
    if (!f.has_title) return 0;
    const std::string& title = f.console_title;
    std::size_t n = title.size() < length ? title.size() + 1 : length;
    for (std::size_t i = 0; i < n; ++i) buffer[i] = static_cast<unsigned char>(title.c_str()[i]);
    return static_cast<unsigned long>(n < length ? title.size() : length);
}

void SetConsoleTitleW(const wchar_t* title) {
    std::string bytes;
    for (; *title; ++title) bytes += *title < 256 ? static_cast<char>(*title) : '?';
    fake_os().calls.push_back("SetConsoleTitleW " + bytes);
    fake_os().console_title = bytes;
}

void SetConsoleTitleA(const char* title) {
    fake_os().calls.push_back(std::string("SetConsoleTitleA ") + title);
    fake_os().console_title = title;
}

// Another program's window.
static Window const OTHER = reinterpret_cast<Window>(0x0BAD);

// The console's own window, apart from the one found by its title.
static Window const CONSOLE_HOST = reinterpret_cast<Window>(0x5151);

Window GetConsoleWindow() {
    fake_os().calls.push_back("GetConsoleWindow");
    return fake_os().has_title ? CONSOLE_HOST : nullptr;
}

int GetClassNameA(Window window, char* class_name, int length) {
    fake_os().calls.push_back("GetClassNameA");
    if (window != CONSOLE_HOST || length < 1) return 0;
    bounded_copy(class_name, static_cast<std::size_t>(length), fake_os().console_class.c_str());
    return static_cast<int>(std::strlen(class_name));
}

unsigned long GetCurrentProcessId() { return fake_os().process_id; }

Window FindWindowA(const char* class_name, const char* title) {
    FakeOs& f = fake_os();
    f.calls.push_back(std::string("FindWindowA ") + (class_name ? class_name : "(any)") + " " + title);
    if (!f.other_window_title.empty() && same_ignoring_case(f.other_window_title, title)) return OTHER;
    return f.window_exists && same_ignoring_case(f.console_title, title) ? CONSOLE : nullptr;
}

void ShowWindow(Window window, int command) {
    fake_os().calls.push_back("ShowWindow " + std::to_string(command));
    if (window == CONSOLE) fake_os().window_visible = command != 0;
    if (window == OTHER) fake_os().other_window_visible = command != 0;
}

void SetForegroundWindow(Window window) {
    fake_os().calls.push_back(std::string("SetForegroundWindow") + (window == CONSOLE ? "" : " ?"));
}

void MessageBoxA(Window owner, const char* text, const char* caption, unsigned style) {
    FakeOs& f = fake_os();
    f.calls.push_back("MessageBoxA");
    f.boxes.push_back({owner, text, caption, style, f.window_visible});
}

unsigned long GetShortPathNameA(const char* long_path, char* short_path, unsigned long length) {
    auto it = fake_os().short_names.find(long_path);
    if (it == fake_os().short_names.end()) return 0;
    const std::string& name = it->second;
    if (name.size() >= length) return static_cast<unsigned long>(name.size() + 1);
    std::memcpy(short_path, name.c_str(), name.size() + 1);
    return static_cast<unsigned long>(name.size());
}

// The writes themselves are real: tests read back what was written.
static Output output_failure() {
    return fake_os().output_reader_gone ? Output::READER_GONE : Output::FAILED;
}

Output write_out(const void* bytes, std::size_t n, std::FILE* out) {
    return std::fwrite(bytes, 1, n, out) == n ? Output::OK : output_failure();
}

Output flush_out(std::FILE* out) { return std::fflush(out) == 0 ? Output::OK : output_failure(); }

// The tests' output streams are binary already.
void set_binary_mode(std::FILE*) {}

bool argument_is_exact(int index, const char*) {
    fake_os().calls.push_back("argument_is_exact " + std::to_string(index));
    return fake_os().argument_exact;
}

bool argument_count_is_exact(int) { return fake_os().argument_count_exact; }

bool window_station_visible() {
    fake_os().calls.push_back("window_station_visible");
    return fake_os().window_station_visible;
}

bool in_services_session() { return fake_os().services_session; }

const char* getenv(const char* name) {
    FakeOs& f = fake_os();
    f.calls.push_back(std::string("getenv ") + name);
    auto it = f.env.find(name);
    return it == f.env.end() ? nullptr : it->second.c_str();
}

void write_stderr(const char* text) { fake_os().stderr_text += text; }

}  // namespace os
