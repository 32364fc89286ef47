// The platform operations on Windows: each is the Win32 call of that name.
// os.h comes first: windows.h makes macros of the constant names it shares.
#include "os.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

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

// The runtime maps these to errno values that other failures share; the
// system's own code tells. Windows gives the first two, Wine the third.
bool reader_gone() {
    DWORD error = ::GetLastError();
    return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE ||
           error == ERROR_PIPE_NOT_CONNECTED;
}

// The runtime's arguments are the wide command line passed through the
// code page with a best fit; the argument survives only if the code page
// holds every character of it. A UTF-8 code page holds them all.
bool argument_is_exact(int index) {
    if (::GetACP() == CP_UTF8) return true;
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args) return false;
    bool exact = true;
    if (index < count) {
        BOOL used_default = FALSE;
        int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, args[index], -1, nullptr, 0,
                                      nullptr, &used_default);
        exact = n > 0 && !used_default;
    }
    ::LocalFree(args);
    return exact;
}

}  // namespace os
