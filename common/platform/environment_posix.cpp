#include <cstdlib>

#include "environment.h"

namespace os {

const char* getenv(const char* name) { return std::getenv(name); }

// $TMPDIR, or /tmp where it is unset or empty.
unsigned long GetTempPathA(unsigned long length, char* buffer) {
    const char* dir = std::getenv("TMPDIR");
    return answer_temp_path(dir && *dir ? dir : "/tmp", length, buffer);
}

// No volume here keeps short names.
unsigned long GetShortPathNameA(const char*, char*, unsigned long) { return 0; }

}  // namespace os
