// The platform operations on Windows: each is the Win32 call of that name.
// os.h comes first: windows.h makes macros of the constant names it shares.
#include "os.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

// Arguments are split by the runtime's usual rules, never wildcard-expanded:
// a log name such as *.log is a name, not a pattern.
extern "C" {
int _dowildcard = 0;

// The runtime's own splitting of the wide command line, by the rules that
// split the single-byte one; it has no public declaration.
struct StartupInfo {
    int new_mode;
};
int __wgetmainargs(int* count, wchar_t*** args, wchar_t*** environment, int expand_wildcards,
                   StartupInfo* startup);
}

namespace {

constexpr int ARGUMENT_BUF_SIZE = 4096;

}  // namespace

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
// code page with a best fit, then split. The wide arguments split by the
// same rules must come through the code page unchanged and give the same
// bytes: a character the code page lacks, or one it turns into a quote or
// a backslash that split the line otherwise, does not.
bool argument_is_exact(int index, const char* argument) {
    int count = 0;
    wchar_t** args = nullptr;
    wchar_t** environment = nullptr;
    StartupInfo startup{0};
    if (__wgetmainargs(&count, &args, &environment, 0, &startup) < 0 || index >= count) {
        return false;
    }
    const UINT code_page = ::GetACP();
    const bool utf8 = code_page == CP_UTF8;
    // Longer than any install directory the list can be written for.
    char converted[ARGUMENT_BUF_SIZE];
    BOOL used_default = FALSE;
    int n = ::WideCharToMultiByte(code_page, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, args[index], -1,
                                  converted, sizeof converted, nullptr,
                                  utf8 ? nullptr : &used_default);
    return n > 0 && !used_default && std::strcmp(converted, argument) == 0;
}

}  // namespace os
