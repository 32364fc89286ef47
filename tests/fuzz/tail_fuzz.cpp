// On any bytes, the backward scan and the forward scan agree with the
// last ten lines found by splitting the bytes on line feeds.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "follow.h"
#include "last_lines.h"

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

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const os::offset expected = static_cast<os::offset>(size - last_ten_lines(bytes).size());
    if (scan_tail_backward(file, static_cast<os::offset>(size)) != expected) std::abort();
    std::rewind(file);
    if (scan_tail_forward(file) != expected) std::abort();
    std::rewind(file);
    if (find_tail_start(file) != expected) std::abort();
    std::fclose(file);
    return 0;
}
