#include "temp_file.h"

#include <atomic>
#include <chrono>
#include <fstream>

namespace fs = std::filesystem;

std::string scratch_path(const std::string& stem) {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path p = fs::temp_directory_path() /
                 (stem + "-" + std::to_string(stamp) + "-" +
                  std::to_string(counter++));
    return p.u8string();
}

void write_bytes(const std::string& utf8_path, const std::string& bytes, bool append) {
    std::ofstream(fs::u8path(utf8_path), std::ios::binary | (append ? std::ios::app : std::ios::trunc))
        << bytes;
}

TempFile::TempFile(const std::string& content) : path_(scratch_path("ostrel")) {
    write_bytes(path_, content);
}

TempFile::~TempFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

void TempFile::append(const std::string& bytes) const { write_bytes(path_, bytes, true); }
void TempFile::rewrite(const std::string& bytes) const { write_bytes(path_, bytes); }

std::string read_all(std::FILE* stream) {
    std::string bytes;
    std::rewind(stream);
    char block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, stream)) > 0) bytes.append(block, n);
    return bytes;
}

std::string read_all(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    std::string bytes = read_all(f);
    std::fclose(f);
    return bytes;
}
