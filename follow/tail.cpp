// Finding where the last ten lines of a log begin.
#include <cstring>

#include "follow.h"

os::offset find_tail_start(std::FILE* log) {
    os::offset size = os::fsize64(log);
    // Some files report a size of 0 whatever they hold; an empty file costs
    // nothing to scan forward.
    if (size > 0) return scan_tail_backward(log, size);
    return scan_tail_forward(log);
}

// Reads blocks from the end towards the start until the NEWLINE_SLOTS-th
// line feed from the end; the tail starts just past it. A file that
// changes under the scan is scanned again from its start.
os::offset scan_tail_backward(std::FILE* log, os::offset size) {
    char block[BLOCK_SIZE];
    int seen = 0;
    os::offset end = size;
    while (end > 0) {
        os::offset begin = end > os::offset(BLOCK_SIZE) ? end - BLOCK_SIZE : 0;
        std::size_t want = static_cast<std::size_t>(end - begin);
        if (os::fseek64(log, begin) != 0 ||
            std::fread(block, 1, want, log) != want) {
            if (os::fseek64(log, 0) != 0) return 0;
            return scan_tail_forward(log);
        }
        for (std::size_t i = want; i-- > 0;) {
            if (block[i] == '\n' && ++seen == NEWLINE_SLOTS) return begin + i + 1;
        }
        end = begin;
    }
    return 0;
}

// The offsets just past the last NEWLINE_SLOTS line feeds, in a ring whose
// unused slots stay 0; the smallest is the tail start.
os::offset scan_tail_forward(std::FILE* log) {
    os::offset slots[NEWLINE_SLOTS] = {};
    int next = 0;
    os::offset base = 0;
    char block[BLOCK_SIZE];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, log)) > 0) {
        const char* p = block;
        const char* end = block + n;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p)))) {
            ++p;
            slots[next] = base + (p - block);
            next = (next + 1) % NEWLINE_SLOTS;
        }
        base += static_cast<os::offset>(n);
    }
    os::offset start = slots[0];
    for (int i = 1; i < NEWLINE_SLOTS; ++i) {
        if (slots[i] < start) start = slots[i];
    }
    return start;
}
