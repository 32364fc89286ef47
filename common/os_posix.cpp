// The native stand-in for the platform operations, so that the same
// program code builds and runs on Linux for tests, sanitizers and fuzzing.
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "os.h"

namespace os {

void InitCommonControls() {}

// $TMPDIR or /tmp, with a trailing separator, returning lengths the way
// the Win32 call does: the size needed, terminator included, when the
// buffer is too small.
unsigned long GetTempPathA(unsigned long length, char* buffer) {
    const char* dir = std::getenv("TMPDIR");
    if (!dir || !*dir) dir = "/tmp";
    std::size_t n = std::strlen(dir);
    bool add_separator = dir[n - 1] != '/';
    std::size_t total = n + (add_separator ? 1 : 0);
    if (total + 1 > length) return static_cast<unsigned long>(total + 1);
    std::memcpy(buffer, dir, n);
    if (add_separator) buffer[n] = '/';
    buffer[total] = '\0';
    return static_cast<unsigned long>(total);
}

void Sleep(unsigned long milliseconds) {
    timespec delay{static_cast<time_t>(milliseconds / 1000),
                   static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&delay, &delay) != 0) {
    }
}

// A terminal is no console: there is no title to borrow, so a log that
// cannot be opened is told on standard error.
unsigned long GetConsoleTitleW(wchar_t*, unsigned long) { return 0; }

void SetConsoleTitleW(const wchar_t*) {}
void SetConsoleTitleA(const char*) {}

Window GetConsoleWindow() { return nullptr; }
int GetClassNameA(Window, char*, int) { return 0; }
unsigned long GetCurrentProcessId() { return static_cast<unsigned long>(getpid()); }

Window FindWindowA(const char*, const char*) { return nullptr; }

void ShowWindow(Window, int) {}

void SetForegroundWindow(Window) {}

// No boxes here: the caption, then the text, on standard error.
void MessageBoxA(Window, const char* text, const char* caption, unsigned) {
    std::fprintf(stderr, "%s\n%s\n", caption, text);
}

// The boxes here go to standard error, which is always seen.
bool window_station_visible() { return true; }
bool in_services_session() { return false; }

// No volume here keeps short names.
unsigned long GetShortPathNameA(const char*, char*, unsigned long) { return 0; }

// A gone reader is seen only where SIGPIPE is ignored; otherwise the
// signal ends the program at that write.
static Output failure() { return errno == EPIPE ? Output::READER_GONE : Output::FAILED; }

Output write_out(const void* bytes, std::size_t n, std::FILE* out) {
    return std::fwrite(bytes, 1, n, out) == n ? Output::OK : failure();
}

Output flush_out(std::FILE* out) { return std::fflush(out) == 0 ? Output::OK : failure(); }

// Streams here have no text mode.
void set_binary_mode(std::FILE*) {}

}  // namespace os
