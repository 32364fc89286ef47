// How writes to the output end, on every platform alike: only the
// question whether the reader has gone is the platform's.
#include "output.h"

namespace os {

static Output failure() { return reader_gone() ? Output::READER_GONE : Output::FAILED; }

Output write_out(const void* bytes, std::size_t n, std::FILE* out) {
    return std::fwrite(bytes, 1, n, out) == n ? Output::OK : failure();
}

Output flush_out(std::FILE* out) { return std::fflush(out) == 0 ? Output::OK : failure(); }

}  // namespace os
