// What the bytes of a code page stand for.
#pragma once

#include <cstddef>

namespace os {

constexpr unsigned CODE_PAGE_UTF8 = 65001;

// How many bytes of the text at c, in code_page, the next character takes,
// and which character it is; 0 where the code page gives them none.
std::size_t decode_character(unsigned code_page, const unsigned char* c, std::size_t left,
                             char32_t& character);

}  // namespace os
