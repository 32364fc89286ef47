// On any bytes, the backward scan, the forward scan and the plain ring of
// offsets read one byte at a time agree on where the tail begins.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "follow.h"

namespace {

os::offset reference_tail_start(const std::uint8_t* data, std::size_t size) {
    os::offset slots[NEWLINE_SLOTS] = {};
    int i = 0;
    for (std::size_t pos = 0; pos < size; ++pos) {
        if (data[pos] == '\n') {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static char path[] = "/tmp/ostrel-tail-fuzz-XXXXXX";
    static int fd = [] {
        int made = mkstemp(path);
        std::atexit([] { unlink(path); });
        return made;
    }();
    if (fd < 0) std::abort();
    std::FILE* file = std::fopen(path, "w+b");
    if (!file) std::abort();
    std::fwrite(data, 1, size, file);
    std::fflush(file);

    const os::offset expected = reference_tail_start(data, size);
    if (scan_tail_backward(file, static_cast<os::offset>(size)) != expected) std::abort();
    std::rewind(file);
    if (scan_tail_forward(file) != expected) std::abort();
    std::rewind(file);
    if (find_tail_start(file) != expected) std::abort();
    std::fclose(file);
    return 0;
}
