#include "arguments.h"

#include <windows.h>

#include <cstring>

// Arguments are split by the runtime's usual rules, never wildcard-expanded:
// a log name such as *.log is a name, not a pattern.
extern "C" {
int _dowildcard = 0;
}

// The runtime's own splitting of the wide command line, by the rules that
// split the single-byte one; it has no public declaration.
extern "C" {
struct StartupInfo {
    int new_mode;
};
int __wgetmainargs(int* count, wchar_t*** args, wchar_t*** environment, int expand_wildcards,
                   StartupInfo* startup);
}

namespace {

// Longer than any argument either program takes: an install directory the
// list can be written for, or a log's path.
constexpr int ARGUMENT_BUF_SIZE = 4096;

// The runtime's splitting of the wide command line; false where it fails.
bool wide_arguments(int& count, wchar_t**& args) {
    wchar_t** environment = nullptr;
    StartupInfo startup{0};
    return __wgetmainargs(&count, &args, &environment, 0, &startup) >= 0;
}

}  // namespace

namespace os {

// The runtime's arguments are the wide command line passed through the
// code page with a best fit, then split. The wide arguments split by the
// same rules must come through the code page unchanged and give the same
// bytes: a character the code page lacks, or one it turns into a quote or
// a backslash that split the line otherwise, does not.
bool argument_is_exact(int index, const char* argument) {
    int count = 0;
    wchar_t** args = nullptr;
    if (!wide_arguments(count, args) || index >= count) return false;
    const UINT code_page = ::GetACP();
    const bool utf8 = code_page == CP_UTF8;
    char converted[ARGUMENT_BUF_SIZE];
    BOOL used_default = FALSE;
    // Under UTF-8 a lone surrogate, which NTFS allows in a name, would
    // become U+FFFD on the way, as in the runtime's own arguments: another
    // name. The conversion fails on it instead.
    int n = ::WideCharToMultiByte(code_page, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                                  args[index], -1,
                                  converted, sizeof converted, nullptr,
                                  utf8 ? nullptr : &used_default);
    return n > 0 && !used_default && std::strcmp(converted, argument) == 0;
}

bool argument_count_is_exact(int count) {
    int wide_count = 0;
    wchar_t** args = nullptr;
    return wide_arguments(wide_count, args) && wide_count == count;
}

}  // namespace os
