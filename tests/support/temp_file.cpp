#include "temp_file.h"

#include <atomic>
#include <chrono>

namespace fs = std::filesystem;

std::string scratch_path(const std::string& stem) {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path p = fs::temp_directory_path() /
                 (stem + "-" + std::to_string(stamp) + "-" +
                  std::to_string(counter++));
    return p.string();
}

static void write_file(const std::string& path, const std::string& bytes,
                       const char* mode) {
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

TempFile::TempFile(const std::string& content) : path_(scratch_path("ostrel")) {
    write_file(path_, content, "wb");
}

TempFile::~TempFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

void TempFile::append(const std::string& bytes) const { write_file(path_, bytes, "ab"); }
void TempFile::rewrite(const std::string& bytes) const { write_file(path_, bytes, "wb"); }

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
