#include <cstdlib>
#include <cstring>

#include "environment.h"

namespace os {

const char* getenv(const char* name) { return std::getenv(name); }

// $TMPDIR, or /tmp where it is unset or empty, ending in a separator.
unsigned long GetTempPathA(unsigned long length, char* buffer) {
    const char* dir = std::getenv("TMPDIR");
    if (!dir || !*dir) dir = "/tmp";
    return answer_temp_path(dir, dir[std::strlen(dir) - 1] == '/' ? "" : "/", length, buffer);
}

// No volume here keeps short names.
unsigned long GetShortPathNameA(const char*, char*, unsigned long) { return 0; }

}  // namespace os
