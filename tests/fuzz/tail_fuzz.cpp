// On any bytes, the backward scan, the forward scan and the plain ring of
// offsets read one byte at a time agree on where the tail begins.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "follow.h"
#include "reference_tail.h"

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

    const os::offset expected = reference_tail_start(reinterpret_cast<const char*>(data), size);
    if (scan_tail_backward(file, static_cast<os::offset>(size)) != expected) std::abort();
    std::rewind(file);
    if (scan_tail_forward(file) != expected) std::abort();
    std::rewind(file);
    if (find_tail_start(file) != expected) std::abort();
    std::fclose(file);
    return 0;
}
