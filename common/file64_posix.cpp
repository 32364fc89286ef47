// 64-bit file positions with POSIX streams; the build asks for 64-bit
// off_t, so fseeko and ftello cover any size.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>

#include "os.h"

namespace os {

int fseek64(std::FILE* file, offset position) {
    return fseeko(file, static_cast<off_t>(position), SEEK_SET);
}

offset ftell64(std::FILE* file) { return ftello(file); }

offset fsize64(std::FILE* file) {
    struct stat info;
    if (fstat(fileno(file), &info) != 0) return -1;
    if (!S_ISREG(info.st_mode)) return -1;
    return info.st_size;
}

}  // namespace os
