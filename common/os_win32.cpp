// The platform operations on Windows: each is the Win32 call of that name.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "os.h"

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

const char* getenv(const char* name) { return std::getenv(name); }

void write_stderr(const char* text) { std::fputs(text, stderr); }

}  // namespace os
