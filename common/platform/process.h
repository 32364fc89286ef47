// The running process: its id, and pauses.
#pragma once

namespace os {

unsigned long GetCurrentProcessId();
void Sleep(unsigned long milliseconds);

}  // namespace os
