#include <time.h>
#include <unistd.h>

#include "process.h"

namespace os {

unsigned long GetCurrentProcessId() { return static_cast<unsigned long>(getpid()); }

// The whole pause, whatever signals interrupt it.
void Sleep(unsigned long milliseconds) {
    timespec delay{static_cast<time_t>(milliseconds / 1000),
                   static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&delay, &delay) != 0) {
    }
}

}  // namespace os
