#include "process.h"

#include <windows.h>

namespace os {

unsigned long GetCurrentProcessId() { return ::GetCurrentProcessId(); }
void Sleep(unsigned long milliseconds) { ::Sleep(milliseconds); }

}  // namespace os
