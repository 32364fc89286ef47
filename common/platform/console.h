// The console a program runs in: its title and its window. Win32 calls
// under their own names; windows.h makes macros of them, so they live in
// namespace os.
#pragma once

namespace os {

using Window = void*;

// ShowWindow's commands.
constexpr int WINDOW_HIDE = 0;
constexpr int WINDOW_SHOW = 5;

// Copies the console's title and gives its length; 0 when there is none
// to give, for instance without a console. The title is saved and put back
// in the console's own characters, which no code page may hold.
unsigned long GetConsoleTitleW(wchar_t* buffer, unsigned long length);
void SetConsoleTitleW(const wchar_t* title);
void SetConsoleTitleA(const char* title);
// The console's own window; nullptr without a console. Under a
// pseudoconsole (Windows Terminal's tabs) it only serves a message queue
// and is never shown.
Window GetConsoleWindow();
// The window's class name, terminated, and its length; 0 when none.
int GetClassNameA(Window window, char* class_name, int length);
// A top-level window of any class whose title matches, ignoring case.
Window FindWindowA(const char* class_name, const char* title);
void ShowWindow(Window window, int command);
void SetForegroundWindow(Window window);

}  // namespace os
