// Text here is UTF-8. Asked of another code page, the stand-in takes each
// byte for the character of its number, as ISO 8859-1 does, whose 0x80 to
// 0x9F are the C1 controls.
#include "charset.h"

namespace os {

std::size_t decode_character(unsigned, const unsigned char* c, std::size_t left,
                             char32_t& character) {
    if (left == 0) return 0;
    character = c[0];
    return 1;
}

}  // namespace os
