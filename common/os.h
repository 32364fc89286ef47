// The platform operations both programs use. Program code calls only these;
// os_win32.cpp implements them with the real Win32 calls, os_posix.cpp with
// a native stand-in, and the tests link a recording fake in their place.
#pragma once

#include <cstddef>
#include <cstdio>

namespace os {

using Window = void*;

// ShowWindow's commands and the warning notice's MessageBoxA style, under
// names of our own: windows.h makes macros of the platform's names.
constexpr int WINDOW_HIDE = 0;
constexpr int WINDOW_SHOW = 5;
// An OK button and the warning icon.
constexpr unsigned WARNING_BOX_STYLE = 0x30;

// The Win32 calls, under their own names.

void InitCommonControls();
// Writes the temporary directory, ending in a separator, and returns its
// length; returns the size it would need when it does not fit, 0 on failure.
unsigned long GetTempPathA(unsigned long length, char* buffer);
void Sleep(unsigned long milliseconds);
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
unsigned long GetCurrentProcessId();
// A top-level window of any class whose title matches, ignoring case.
Window FindWindowA(const char* class_name, const char* title);
void ShowWindow(Window window, int command);
void SetForegroundWindow(Window window);
// Modal; returns once the user has dismissed it.
void MessageBoxA(Window owner, const char* text, const char* caption, unsigned style);
// The short (8.3) name of an existing path: its length, the size it would
// need when it does not fit, or 0 when there is none.
unsigned long GetShortPathNameA(const char* long_path, char* short_path, unsigned long length);

// The project's own operations.

// Whether argument, command-line argument index as the program received
// it in single bytes, is what the user gave; false when the system code
// page cannot hold it and it came in best-fitted into another name, or
// split differently. Only the programs link these, not their tests.
bool argument_is_exact(int index, const char* argument);
// Whether the program received count arguments, as many as the user gave:
// a quote or a blank best-fitted from another character splits the line
// otherwise.
bool argument_count_is_exact(int count);

// How a write to the program's output went: a reader that has gone, which
// ends a pipeline's writer without a word, or a failure of another kind,
// a full disk say, which is told.
enum class Output { OK, FAILED, READER_GONE };
Output write_out(const void* bytes, std::size_t n, std::FILE* out);
Output flush_out(std::FILE* out);
// Lets bytes written to stream pass as they are: no line feed becomes
// CR LF on the way.
void set_binary_mode(std::FILE* stream);

// Whether the process's window station is one a user sees: an installer's
// action run as LocalSystem is in a session nobody sees, where a box would
// wait for ever for its OK.
bool window_station_visible();
// Whether the process runs in session 0, the services' own: no user has
// seen it since Windows Vista, though a service allowed to interact with
// the desktop has a window station there that calls itself visible.
bool in_services_session();

// The value of an environment variable, or nullptr when it is not set.
const char* getenv(const char* name);
// Writes text to standard error as it is.
void write_stderr(const char* text);

}  // namespace os
