#include "tell.h"

#include <cstring>

#include "platform/box.h"
#include "platform/charset.h"
#include "platform/output.h"
#include "text.h"

namespace {

constexpr char CUT_MARK[] = "...";
constexpr std::size_t CUT_MARK_SIZE = sizeof CUT_MARK - 1;

// How much of an argument of n bytes goes into room bytes: all of it, or a
// part ending between characters that leaves room for the mark.
struct Fitted {
    std::size_t bytes;
    bool cut;
};

Fitted fit(const char* arg, std::size_t n, std::size_t room) {
    if (n <= room) return {n, false};
    if (room < CUT_MARK_SIZE) return {0, false};
    return {utf8_cut(arg, room - CUT_MARK_SIZE), true};
}

// Characters that would act rather than show, or show as nothing, so that
// a name could forge text of the program's own or pass for another: C1
// controls, which move a terminal's cursor; bidirectional controls and
// marks, which show the letters after them in another order; zero-width
// and invisible characters; the line and paragraph separators.
struct Range {
    char32_t first, last;
};
constexpr Range HIDDEN[] = {
    {0x0080, 0x009F}, {0x00AD, 0x00AD}, {0x061C, 0x061C}, {0x180E, 0x180E}, {0x200B, 0x200F},
    {0x2028, 0x202E}, {0x2060, 0x2060}, {0x2066, 0x2069}, {0xFEFF, 0xFEFF},
};

// How many bytes the UTF-8 sequence at c takes, and the character it
// stands for; 0 where none begins there.
std::size_t utf8_sequence(const unsigned char* c, std::size_t left, char32_t& character) {
    const std::size_t n = c[0] >= 0xF0 ? 4 : c[0] >= 0xE0 ? 3 : c[0] >= 0xC0 ? 2 : 0;
    if (n == 0 || n > left) return 0;
    character = c[0] & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((c[i] & 0xC0) != 0x80) return 0;
        character = character << 6 | (c[i] & 0x3F);
    }
    return n;
}

bool hidden(char32_t character) {
    for (const Range& range : HIDDEN) {
        if (character >= range.first && character <= range.last) return true;
    }
    return false;
}

// How many bytes of the text at c, in code_page, its next character takes,
// one at least, and whether it is a control or hidden character. A byte
// the code page gives no character shows as nothing a person can read: it
// is hidden too. Bytes that are no UTF-8 are shown as they are.
std::size_t next_character(unsigned code_page, const unsigned char* c, std::size_t left,
                           bool& concealed) {
    char32_t character = 0;
    const bool utf8 = code_page == os::CODE_PAGE_UTF8;
    const std::size_t n = utf8 ? utf8_sequence(c, left, character)
                               : os::decode_character(code_page, c, left, character);
    if (n == 0) {
        concealed = !utf8 || c[0] < 0x20 || c[0] == 0x7F;
        return 1;
    }
    concealed = character < 0x20 || character == 0x7F || hidden(character);
    return n;
}

// The bytes an argument's shown part takes, its mark included.
std::size_t taken(Fitted s) { return s.bytes + (s.cut ? CUT_MARK_SIZE : 0); }

// Appends what is shown of arg at out, which has room for it: each
// control or hidden character as one '?', never longer than the character
// itself. A line feed or an escape sequence in a name would forge text of
// the program's own.
char* put(char* out, const char* arg, Fitted s, unsigned code_page) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(arg);
    for (std::size_t i = 0, n; i < s.bytes; i += n) {
        bool concealed = false;
        n = next_character(code_page, bytes + i, s.bytes - i, concealed);
        if (concealed) {
            *out++ = '?';
        } else {
            out = static_cast<char*>(std::memcpy(out, arg + i, n)) + n;
        }
    }
    if (s.cut) out = static_cast<char*>(std::memcpy(out, CUT_MARK, CUT_MARK_SIZE)) + CUT_MARK_SIZE;
    return out;
}

}  // namespace

void format_for_user(char* text, std::size_t size, unsigned code_page, const char* format,
                     const char* name, const char* value) {
    std::size_t fixed = std::strlen(format);
    for (const char* f = format; (f = std::strstr(f, "%s")) != nullptr; f += 2) fixed -= 2;
    const std::size_t room = size - 1 > fixed ? size - 1 - fixed : 0;
    const std::size_t name_n = std::strlen(name), value_n = std::strlen(value);
    // The value stays whole beside as little as the name's mark; a value
    // longer than that is cut as far as its own mark for the name's sake.
    const std::size_t least_name = name_n < CUT_MARK_SIZE ? name_n : CUT_MARK_SIZE;
    const std::size_t least_value = value_n < CUT_MARK_SIZE ? value_n : CUT_MARK_SIZE;
    const bool value_fits = value_n + least_name <= room;
    const std::size_t name_room = value_fits ? room - value_n
                                  : room > least_value ? room - least_value : 0;
    const Fitted name_fitted = fit(name, name_n, name_room);
    const Fitted value_fitted = fit(value, value_n, room - taken(name_fitted));
    char* out = text;
    const char* const end = text + size - 1;
    int conversion = 0;
    for (const char* f = format; *f && out < end; ++f) {
        if (f[0] != '%' || f[1] != 's') {
            *out++ = *f;
        } else {
            out = conversion++ == 0 ? put(out, name, name_fitted, code_page)
                                    : put(out, value, value_fitted, code_page);
            ++f;
        }
    }
    *out = '\0';
}

void tell_in_box(const char* caption, const char* text) {
    os::MessageBoxA(nullptr, text, caption, os::BOX_OK_WARNING);
}

void tell_on_stderr(const char* format, const char* name) {
    // Room for the longest path and any of the fixed texts around it.
    char line[PATH_BUF_SIZE + 64];
    format_for_user(line, sizeof line, os::stderr_code_page(), format, name);
    os::write_stderr(line);
}

os::Output tell_on_stdout(const char* text) {
    const os::Output written = os::write_out(text, std::strlen(text), stdout);
    return written == os::Output::OK ? os::flush_out(stdout) : written;
}
