#include "charset.h"

#include <windows.h>

namespace os {

// A lead byte of a double-byte code page takes the byte after it along.
// Some code pages (GB18030, the ISO-2022 ones) refuse the flag that makes
// an undefined byte fail: they are read without it.
std::size_t decode_character(unsigned code_page, const unsigned char* c, std::size_t left,
                             char32_t& character) {
    const int n = left >= 2 && ::IsDBCSLeadByteEx(code_page, c[0]) ? 2 : 1;
    const char* bytes = reinterpret_cast<const char*>(c);
    wchar_t wide[2];
    int got = ::MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes, n, wide, 2);
    if (got == 0 && ::GetLastError() == ERROR_INVALID_FLAGS) {
        got = ::MultiByteToWideChar(code_page, 0, bytes, n, wide, 2);
    }
    if (got != 1) return 0;
    character = wide[0];
    return static_cast<std::size_t>(n);
}

}  // namespace os
