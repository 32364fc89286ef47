// The file operations with POSIX streams. A reader never stands in a
// writer's way here, so the log opens with plain fopen. The build asks for
// 64-bit off_t, so fseeko covers any size.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>

#include "files.h"

namespace os {

// fopen opens a directory for reading here, where Windows refuses it.
std::FILE* open_log(const char* path) {
    std::FILE* log = std::fopen(path, "rb");
    struct stat info;
    if (log && fstat(fileno(log), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(log);
        return nullptr;
    }
    return log;
}

int fseek64(std::FILE* file, offset position) {
    return fseeko(file, static_cast<off_t>(position), SEEK_SET);
}

offset fsize64(std::FILE* file) {
    struct stat info;
    if (fstat(fileno(file), &info) != 0) return -1;
    if (!S_ISREG(info.st_mode)) return -1;
    return info.st_size;
}

static FileId identity(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

FileId identify_open(std::FILE* file) {
    struct stat info;
    if (fstat(fileno(file), &info) != 0) return {};
    return identity(info);
}

FileId identify_name(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0 || S_ISDIR(info.st_mode)) return {};
    return identity(info);
}

// Its last name is gone: it will never be written under the log's name.
bool deleted(std::FILE* file) {
    struct stat info;
    return fstat(fileno(file), &info) == 0 && info.st_nlink == 0;
}

}  // namespace os
