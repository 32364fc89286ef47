// The file operations with the Windows runtime: the log's shared open and
// 64-bit positions.
#include "files.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace os {

// The runtime's fopen does not share delete access, so a writer that
// renames its log aside or removes it would fail while it is followed.
std::FILE* open_log(const char* path) {
    HANDLE handle = CreateFileA(path, GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* log = _fdopen(fd, "rb");
    if (!log) _close(fd);
    return log;
}

int fseek64(std::FILE* file, offset position) {
    return _fseeki64(file, position, SEEK_SET);
}

offset fsize64(std::FILE* file) {
    struct _stati64 info;
    if (_fstati64(_fileno(file), &info) != 0) return -1;
    if ((info.st_mode & _S_IFMT) != _S_IFREG) return -1;
    return info.st_size;
}

static HANDLE handle_of(std::FILE* file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

// The 64-bit index is not unique on ReFS: its 128-bit id is read where the
// system answers for it, and the 64-bit index is kept where it does not.
// The volume is the 32-bit serial both give.
static FileId identity(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return {};
    }
    FileId id{info.dwVolumeSerialNumber,
              (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow, 0};
    FILE_ID_INFO wide;
    if (GetFileInformationByHandleEx(handle, FileIdInfo, &wide, sizeof wide)) {
        std::memcpy(&id.index, wide.FileId.Identifier, sizeof id.index);
        std::memcpy(&id.index_high, wide.FileId.Identifier + sizeof id.index, sizeof id.index_high);
    }
    return id;
}

FileId identify_open(std::FILE* file) { return identity(handle_of(file)); }

// Attribute access with every sharing flag: no writer's sharing mode stands
// in its way, and it is closed at once. A name that cannot be opened so, for
// whatever reason, tells nothing.
FileId identify_name(const char* path) {
    HANDLE handle = CreateFileA(path, FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    FileId id = identity(handle);
    CloseHandle(handle);
    return id;
}

// Under the older delete rules a deleted file keeps its name until its
// last handle is closed, and no new log can be made under it till then.
bool deleted(std::FILE* file) {
    FILE_STANDARD_INFO info;
    return GetFileInformationByHandleEx(handle_of(file), FileStandardInfo, &info, sizeof info) &&
           info.DeletePending;
}

}  // namespace os
