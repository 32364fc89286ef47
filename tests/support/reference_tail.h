// Where the last ten lines begin, stated plainly: the offsets just past
// every line feed go round a ring of NEWLINE_SLOTS, and the smallest one
// left is the start. The fast scans are held against this.
#pragma once

#include <cstddef>

#include "follow.h"

inline os::offset reference_tail_start(const char* bytes, std::size_t size) {
    os::offset slots[NEWLINE_SLOTS] = {};
    int i = 0;
    for (std::size_t pos = 0; pos < size; ++pos) {
        if (bytes[pos] == '\n') {
            slots[i] = static_cast<os::offset>(pos + 1);
            i = (i + 1) % NEWLINE_SLOTS;
        }
    }
    os::offset start = slots[0];
    for (int k = 1; k < NEWLINE_SLOTS; ++k) {
        if (slots[k] < start) start = slots[k];
    }
    return start;
}
