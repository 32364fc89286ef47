#include "environment.h"

#include <cstring>

namespace os {

unsigned long answer_temp_path(const char* dir, const char* separator, unsigned long length,
                               char* buffer) {
    const std::size_t n = std::strlen(dir), total = n + std::strlen(separator);
    if (total + 1 > length) return static_cast<unsigned long>(total + 1);
    std::memcpy(buffer, dir, n);
    std::memcpy(buffer + n, separator, total - n + 1);
    return static_cast<unsigned long>(total);
}

}  // namespace os
