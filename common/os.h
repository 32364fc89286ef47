// The platform operations both programs use. Program code calls only these;
// os_win32.cpp implements them with the real Win32 calls, os_posix.cpp with
// a native stand-in, and the tests link a recording fake in their place.
// The file operations (file64_*.cpp) are never faked: tests run them on
// real files.
#pragma once

#include <cstdint>
#include <cstdio>

namespace os {

using offset = std::int64_t;
using Window = void*;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_ICONWARNING = 0x30;
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
// A top-level window of any class whose title matches, ignoring case.
Window FindWindowA(const char* class_name, const char* title);
void ShowWindow(Window window, int command);
void SetForegroundWindow(Window window);
// Modal; returns once the user has dismissed it.
void MessageBoxA(Window owner, const char* text, const char* caption, unsigned style);

// Whether argument, command-line argument index as the program received
// it in single bytes, is what the user gave; false when the system code
// page cannot hold it and it came in best-fitted into another name, or
// split differently.
bool argument_is_exact(int index, const char* argument);

// Whether the write that just failed met a pipe whose reader has gone, as
// against a full disk or any other failure.
bool reader_gone();

// The value of an environment variable, or nullptr when it is not set.
const char* getenv(const char* name);
// Writes text to standard error as it is.
void write_stderr(const char* text);

// Opens a log for binary reading without getting in its writer's way: the
// writer may go on writing it, and may rename or delete it while it is
// read. nullptr when it cannot be opened, for whatever reason.
std::FILE* open_log(const char* path);

// Byte positions that go past 2 GiB. fseek64 returns 0 on success;
// ftell64 returns -1 on failure; fsize64 returns -1 unless the stream is a
// regular file whose size can be known.
int fseek64(std::FILE* file, offset position);
offset ftell64(std::FILE* file);
offset fsize64(std::FILE* file);

}  // namespace os
