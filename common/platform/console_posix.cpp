// A terminal is no console: there is no title to borrow and no window to
// hide, so a log that cannot be opened is told on standard error.
#include "console.h"

namespace os {

unsigned long GetConsoleTitleW(wchar_t*, unsigned long) { return 0; }
void SetConsoleTitleW(const wchar_t*) {}
void SetConsoleTitleA(const char*) {}
Window GetConsoleWindow() { return nullptr; }
int GetClassNameA(Window, char*, int) { return 0; }
Window FindWindowA(const char*, const char*) { return nullptr; }
void ShowWindow(Window, int) {}
void SetForegroundWindow(Window) {}

}  // namespace os
