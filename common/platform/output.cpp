// How writes to the output end, on every platform alike: only the
// question whether the reader has gone is the platform's.
#include "output.h"

namespace os {

static Output failure() { return reader_gone() ? Output::READER_GONE : Output::FAILED; }

// A pipe whose reader leaves during a write may fail that write with no
// code to tell why, and only the next one with the pipe's own (Wine does):
// what was not taken is tried once more, only to learn why. The write has
// failed whatever the try gives, since the stream may have dropped bytes.
Output write_out(const void* bytes, std::size_t n, std::FILE* out) {
    const std::size_t taken = std::fwrite(bytes, 1, n, out);
    if (taken == n) return Output::OK;
    std::fwrite(static_cast<const char*>(bytes) + taken, 1, n - taken, out);
    return failure();
}

Output flush_out(std::FILE* out) { return std::fflush(out) == 0 ? Output::OK : failure(); }

}  // namespace os
