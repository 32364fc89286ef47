// 64-bit file positions with the Windows runtime.
#include <sys/stat.h>

#include <cstdio>

#include "os.h"

namespace os {

int fseek64(std::FILE* file, offset position) {
    return _fseeki64(file, position, SEEK_SET);
}

offset ftell64(std::FILE* file) { return _ftelli64(file); }

offset fsize64(std::FILE* file) {
    struct _stati64 info;
    if (_fstati64(_fileno(file), &info) != 0) return -1;
    if ((info.st_mode & _S_IFMT) != _S_IFREG) return -1;
    return info.st_size;
}

}  // namespace os
