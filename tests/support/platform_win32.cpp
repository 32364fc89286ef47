// The test support's platform parts on Windows.
#include <io.h>
#include <windows.h>
#include <winioctl.h>
#include <shellapi.h>

#include "program_args.h"
#include "temp_file.h"
#include "wide_win32.h"

// Wine answers 0, as if no process held any.
int open_handle_count() {
    DWORD count = 0;
    return GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0 ? static_cast<int>(count)
                                                                            : -1;
}

// NTFS fills a far write's hole with zeros on disk unless the file is
// marked sparse first.
bool make_sparse(std::FILE* file) {
    DWORD returned = 0;
    return DeviceIoControl(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))), FSCTL_SET_SPARSE,
                           nullptr, 0, nullptr, 0, &returned, nullptr);
}

// Wine's ntdll has an export of its own that Windows' has not.
bool running_under_wine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The code page's arguments lose what it cannot hold (a folder named Tëst
// on a UTF-8 system, say): the wide command line keeps every name. Only
// GoogleTest's own flags, taken out of argv, are left behind.
std::vector<std::string> utf8_arguments(int argc, char** argv) {
    int n = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n);
    std::vector<std::string> args;
    for (int i = 0; wide && i < n; ++i) {
        const std::string arg = to_code_page(wide[i], CP_UTF8);
        if (arg.rfind("--gtest_", 0) != 0) args.push_back(arg);
    }
    LocalFree(wide);
    if (static_cast<int>(args.size()) != argc) return {argv, argv + argc};
    return args;
}
