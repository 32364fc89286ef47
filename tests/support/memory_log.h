// A log held in memory and read through a stream of its own (glibc's
// fopencookie) that counts what no real file tells: the bytes read, and
// the seeks at each time of the fake clock. Seeks fail from fail_from_ms
// on, and past spin_limit at one time: a loop that never pauses ends too.
#pragma once

#ifdef __GLIBC__
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "fake.h"

struct MemoryLog {
    std::string bytes;
    std::size_t bytes_read = 0, at = 0;
    std::map<unsigned long, int> seeks_at;
    unsigned long fail_from_ms = ~0ul;
    int spin_limit = 20;

    std::FILE* open() {
        cookie_io_functions_t io{};
        io.read = [](void* self, char* buffer, std::size_t size) -> ssize_t {
            MemoryLog& log = *static_cast<MemoryLog*>(self);
            const std::size_t n = std::min(size, log.bytes.size() - std::min(log.at, log.bytes.size()));
            std::memcpy(buffer, log.bytes.data() + log.at, n);
            log.at += n;
            log.bytes_read += n;
            return static_cast<ssize_t>(n);
        };
        io.seek = [](void* self, off64_t* offset, int whence) -> int {
            MemoryLog& log = *static_cast<MemoryLog*>(self);
            const unsigned long now = fake().clock_ms;
            const off64_t base = whence == SEEK_SET   ? 0
                                 : whence == SEEK_CUR ? off64_t(log.at)
                                                      : off64_t(log.bytes.size());
            if (now >= log.fail_from_ms || ++log.seeks_at[now] > log.spin_limit || base + *offset < 0) {
                return -1;
            }
            log.at = static_cast<std::size_t>(*offset += base);
            return 0;
        };
        return fopencookie(this, "rb", io);
    }
};
#endif
