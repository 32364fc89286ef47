#include "charset.h"

#include <windows.h>

namespace os {

// A lead byte of a double-byte code page takes the byte after it along.
std::size_t decode_character(unsigned code_page, const unsigned char* c, std::size_t left,
                             char32_t& character) {
    const int n = left >= 2 && ::IsDBCSLeadByteEx(code_page, c[0]) ? 2 : 1;
    wchar_t wide[2];
    if (::MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(c), n,
                              wide, 2) != 1) {
        return 0;
    }
    character = wide[0];
    return static_cast<std::size_t>(n);
}

}  // namespace os
