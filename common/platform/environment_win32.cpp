#include "environment.h"

#include <windows.h>

#include <cstdlib>

namespace os {

const char* getenv(const char* name) { return std::getenv(name); }

unsigned long GetTempPathA(unsigned long length, char* buffer) {
    return ::GetTempPathA(length, buffer);
}

unsigned long GetShortPathNameA(const char* long_path, char* short_path, unsigned long length) {
    return ::GetShortPathNameA(long_path, short_path, length);
}

}  // namespace os
