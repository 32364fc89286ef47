// Log path resolution on any argument vector, DISNO value and temporary
// directory: the result always ends within the path buffer, which is
// exactly PATH_BUF_SIZE bytes on the heap so that the address sanitizer
// sees any byte written past it, and a path is either whole or refused.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fake.h"
#include "follow.h"
#include "program_args.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    reset_fake();
    Fake& state = fake();
    // Byte 0: argument count 1..8. Byte 1: temp directory length 0..511,
    // high bit of byte 2 set: the call fails. Bit 6 of byte 2: DISNO unset.
    // The rest: NUL-separated arguments, then DISNO.
    const int argc = 1 + data[0] % 8;
    const std::size_t temp_length = data[1] | (data[2] & 1) << 8;
    state.temp_fails = data[2] & 0x80;
    state.temp_dir = std::string(temp_length, 'T');
    std::vector<std::string> parts(1, "");
    for (std::size_t i = 3; i < size; ++i) {
        if (data[i] == 0) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(i < static_cast<int>(parts.size()) ? parts[i - 1] : "");
    if (!(data[2] & 0x40)) state.env["DISNO"] = parts.back();

    Argv argv("follow.exe", args);
    std::unique_ptr<char[]> path(new char[PATH_BUF_SIZE]);
    bool ok = resolve_log_path(argc, argv.get(), path.get());
    if (!std::memchr(path.get(), 0, PATH_BUF_SIZE)) std::abort();
    const std::size_t length = std::strlen(path.get());
    if (argc == 2) {
        // The argument whole, or refused.
        if (ok != (args[0].size() < PATH_BUF_SIZE)) std::abort();
        if (args[0].compare(0, length, path.get()) != 0) std::abort();
        if (length != std::min<std::size_t>(args[0].size(), PATH_BUF_SIZE - 1)) std::abort();
    } else {
        // The whole default name, or refused.
        const bool dir_fits = state.temp_fails || temp_length < PATH_BUF_SIZE;
        const std::string whole = (state.temp_fails || !dir_fits ? "" : state.temp_dir) + "Ostrel." +
                                  (data[2] & 0x40 ? "0" : parts.back()) + ".log";
        if (ok != (dir_fits && whole.size() < PATH_BUF_SIZE)) std::abort();
        if (ok && whole != path.get()) std::abort();
    }
    return 0;
}
