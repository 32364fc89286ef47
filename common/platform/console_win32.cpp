#include "console.h"

#include <windows.h>

static_assert(os::WINDOW_HIDE == SW_HIDE && os::WINDOW_SHOW == SW_SHOW);

namespace os {

unsigned long GetConsoleTitleW(wchar_t* buffer, unsigned long length) {
    return ::GetConsoleTitleW(buffer, length);
}

void SetConsoleTitleW(const wchar_t* title) { ::SetConsoleTitleW(title); }
void SetConsoleTitleA(const char* title) { ::SetConsoleTitleA(title); }
Window GetConsoleWindow() { return ::GetConsoleWindow(); }

int GetClassNameA(Window window, char* class_name, int length) {
    return ::GetClassNameA(static_cast<HWND>(window), class_name, length);
}

Window FindWindowA(const char* class_name, const char* title) {
    return ::FindWindowA(class_name, title);
}

void ShowWindow(Window window, int command) { ::ShowWindow(static_cast<HWND>(window), command); }
void SetForegroundWindow(Window window) { ::SetForegroundWindow(static_cast<HWND>(window)); }

}  // namespace os
