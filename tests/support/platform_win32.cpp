#include <io.h>
#include <windows.h>
#include <winioctl.h>

#include "temp_file.h"

// NTFS fills a far write's hole with zeros on disk unless the file is
// marked sparse first.
bool make_sparse(std::FILE* file) {
    DWORD returned = 0;
    return DeviceIoControl(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))), FSCTL_SET_SPARSE,
                           nullptr, 0, nullptr, 0, &returned, nullptr);
}
