#include "environment.h"

#include <cstring>

namespace os {

unsigned long answer_temp_path(const char* dir, unsigned long length, char* buffer) {
    const std::size_t n = std::strlen(dir);
    const bool add_separator = n == 0 || (dir[n - 1] != '/' && dir[n - 1] != '\\');
    const std::size_t total = n + (add_separator ? 1 : 0);
    if (total + 1 > length) return static_cast<unsigned long>(total + 1);
    std::memcpy(buffer, dir, n);
    if (add_separator) buffer[n] = '/';
    buffer[total] = '\0';
    return static_cast<unsigned long>(total);
}

}  // namespace os
