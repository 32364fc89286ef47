// The platform operations on Windows: each is the Win32 call of that name.
// os.h comes first: windows.h makes macros of the constant names it shares.
#include "os.h"

#include <windows.h>
#include <commctrl.h>

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

unsigned long GetConsoleTitleA(char* buffer, unsigned long length) {
    return ::GetConsoleTitleA(buffer, length);
}

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

}  // namespace os
