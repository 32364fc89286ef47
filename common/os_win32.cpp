// The platform operations on Windows: the Win32 calls under their own
// names, and the project's own operations made of Win32 calls.
#include "os.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <commctrl.h>

static_assert(os::WINDOW_HIDE == SW_HIDE && os::WINDOW_SHOW == SW_SHOW);
static_assert(os::WARNING_BOX_STYLE == (MB_OK | MB_ICONWARNING));

// Arguments are split by the runtime's usual rules, never wildcard-expanded:
// a log name such as *.log is a name, not a pattern.
extern "C" {
int _dowildcard = 0;
}

namespace os {

void InitCommonControls() { ::InitCommonControls(); }

unsigned long GetTempPathA(unsigned long length, char* buffer) {
    return ::GetTempPathA(length, buffer);
}

void Sleep(unsigned long milliseconds) { ::Sleep(milliseconds); }

unsigned long GetConsoleTitleW(wchar_t* buffer, unsigned long length) {
    return ::GetConsoleTitleW(buffer, length);
}

void SetConsoleTitleW(const wchar_t* title) { ::SetConsoleTitleW(title); }

void SetConsoleTitleA(const char* title) { ::SetConsoleTitleA(title); }

Window GetConsoleWindow() { return ::GetConsoleWindow(); }

int GetClassNameA(Window window, char* class_name, int length) {
    return ::GetClassNameA(static_cast<HWND>(window), class_name, length);
}

unsigned long GetCurrentProcessId() { return ::GetCurrentProcessId(); }

Window FindWindowA(const char* class_name, const char* title) {
    return ::FindWindowA(class_name, title);
}

void ShowWindow(Window window, int command) {
    ::ShowWindow(static_cast<HWND>(window), command);
}

void SetForegroundWindow(Window window) {
    ::SetForegroundWindow(static_cast<HWND>(window));
}

void MessageBoxA(Window owner, const char* text, const char* caption, unsigned style) {
    ::MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}

unsigned long GetShortPathNameA(const char* long_path, char* short_path, unsigned long length) {
    return ::GetShortPathNameA(long_path, short_path, length);
}

// A station that cannot be asked is taken for a desktop's.
bool window_station_visible() {
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!::GetUserObjectInformationA(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                     &needed)) {
        return true;
    }
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

bool in_services_session() {
    DWORD session = 0;
    return ::ProcessIdToSessionId(::GetCurrentProcessId(), &session) && session == 0;
}

// The runtime maps these to errno values that other failures share; the
// system's own code tells. Windows gives the first two, Wine the third.
static Output failure() {
    DWORD error = ::GetLastError();
    return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED
               ? Output::READER_GONE
               : Output::FAILED;
}

Output write_out(const void* bytes, std::size_t n, std::FILE* out) {
    return std::fwrite(bytes, 1, n, out) == n ? Output::OK : failure();
}

Output flush_out(std::FILE* out) { return std::fflush(out) == 0 ? Output::OK : failure(); }

void set_binary_mode(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

}  // namespace os
