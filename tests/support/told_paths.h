// What follow tells the user of a log it cannot open, for each way of
// naming one: the path as the box shows it, DISPLAY as its last line
// shows it, and the path as the line on standard error shows it. Whole
// where they fit; past that the path is cut between characters and marked
// before the DISPLAY line is, and only a value too long for the box is cut
// itself. No control character reaches the user as such, and no name but
// the one asked for is ever opened. The unit tests run every row their
// platform can, the real box the rows marked real.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "program_args.h"

struct ToldPath {
    std::vector<std::string> args;
    std::optional<std::string> display;  // nullopt: not set
    std::string in_box, display_line;
    std::string on_stderr;  // empty: as in the box
    bool real = false;
    // The temporary directory and DISNO, for the default log.
    std::string temp_dir = "C:\\Temp\\", disno = "0";
    // Whether the code page passed the argument, and the count, unchanged.
    bool exact = true, count_exact = true;
    // The code page the box and standard error show their text in; the
    // system's own tables say what its bytes are, on Windows alone.
    unsigned code_page = 65001;
};

// Files that exist in the folder the rows run in, each a name some row
// must never open: the cut or best-fitted name of what it asked for.
inline const std::string CUT_DIR = "ddddd", CUT_NAME = CUT_DIR + "/" + std::string(254, 'm');
inline std::vector<std::string> never_opened() {
    return {CUT_NAME, CUT_DIR + "/Ostrel." + std::string(247, 'm'), "Ostrel.0.log", "Lodz.log",
            "a b"};
}

inline std::vector<ToldPath> told_paths() {
    const std::string p260 = "C:\\" + std::string(257, 'p'), d = "d", not_set = "\"not set\"";
    const auto e = [](int n) { return repeated(u8"é", n); };
    return {
        {{u8"Łódź\\Ostrel.0.log"}, std::nullopt, u8"Łódź\\Ostrel.0.log", not_set, "", true},
        {{u8"Łódź\\Ostrel.0.log"}, "localhost:9.0", u8"Łódź\\Ostrel.0.log", "\"localhost:9.0\"", "",
         true},
        {{"x.log"}, "", "x.log", "\"\"", "", true},
        {{"x.log"}, "127.0.0.1:0.0", "x.log", "\"127.0.0.1:0.0\""},
        {{"x.log"}, "has \"quotes\"", "x.log", "\"has \"quotes\"\""},
        {{p260}, std::nullopt, p260, not_set},
        {{p260}, "localhost:10.0", p260.substr(0, 250) + "...", "\"localhost:10.0\"", p260, true},
        {{"xy" + e(200)}, std::nullopt, "xy" + e(127) + "...", not_set, "xy" + e(149) + "..."},
        {{"C:\\" + e(200)}, "localhost:10.0", "C:\\" + e(123) + "...", "\"localhost:10.0\"",
         "C:\\" + e(149) + "...", true},
        {{p260}, repeated(d, 264), "...", "\"" + repeated(d, 264) + "\"", p260},
        {{p260}, repeated(d, 300), p260, "\"dddd...\"", p260},
        {{"x.log"}, repeated(d, 300), "x.log", "\"" + repeated(d, 259) + "...\""},
        {{"xy" + e(200)}, repeated(d, 300), "xy" + e(129) + "...", "\"d...\"", "xy" + e(149) + "..."},
        // Bytes that are no UTF-8 are shown as they are, a space written in
        // two bytes included; an escape written in two is a '?'.
        {{"a\xC0\xA0\xC0\x9B\xC3(b\xC2" "A\xE2\x80"}, std::nullopt, "a\xC0\xA0?\xC3(b\xC2" "A\xE2\x80",
         not_set},
        // No UTF-8: a run of continuation bytes is cut where it stands.
        {{"x" + std::string(400, '\x80')}, std::nullopt, "x" + std::string(253, '\x80') + "...",
         not_set, "x" + std::string(297, '\x80') + "..."},
        {{"C:\\a\r\nfollow: fake\x1b[2J\x7f"}, "\n:0\t", "C:\\a??follow: fake?[2J?", "\"?:0?\""},
        // What would act rather than show, or show as nothing, one '?' each:
        // C1 controls, bidirectional controls and marks, zero-width and
        // invisible characters, line and paragraph separators; the first
        // and last of each range among them. Their neighbours stay.
        {{u8"C:\\a\u009B2J\u202Egol.txt\u2066\u00A0\u202F\u2069"}, u8"\u2067:0\u0080",
         u8"C:\\a?2J?gol.txt?\u00A0\u202F?", "\"?:0?\""},
        {{u8"\u0080\u009F\u00A0\u202A\u202E\u2066\u2069\u2026\u20A9\u206A"}, std::nullopt,
         u8"??\u00A0????\u2026\u20A9\u206A", not_set},
        {{u8"app\u200B.log\u00AD\u061C\u180E\u200F\u2028\u2060\uFEFF"}, u8"\u200E:0\u2029",
         "app?.log???????", "\"?:0?\""},
        // So does U+18700, whose first three bytes would read as U+061C.
        {{u8"\u00AC\u00AE\u061B\u200A\u2010\u2027\u205F\u2061\uFEFE\uFF01\U00018700"}, std::nullopt,
         u8"\u00AC\u00AE\u061B\u200A\u2010\u2027\u205F\u2061\uFEFE\uFF01\U00018700", not_set},
        // In a code page of one byte a character (Windows before 10 version
        // 1903, which ignores the UTF-8 manifest): the bytes it leaves
        // undefined, and its soft hyphen, show as '?'; UTF-8's C1 bytes are
        // letters there.
        {{"C:\\a\x9D" "0;pwned\x81\x8D\x8F\x90\x80\xA0\xE9\xAD\xC2\x9B"}, std::nullopt,
         "C:\\a?0;pwned????\x80\xA0\xE9?\xC2\x9B", not_set, "", false, "", "0", true, true, 1252},
        // In a code page of two bytes a character, one of them stays whole,
        // and the first byte of one whose second is missing shows as '?'.
        {{"C:\\a\x82\xA0" "b\x82"}, std::nullopt, "C:\\a\x82\xA0" "b?", not_set, "", false, "", "0",
         true, true, 932},
        // Names other than the one asked for: cut at the buffer's end, or
        // best-fitted by the code page.
        {{}, std::nullopt, "Ostrel.0.log", not_set, "", false, std::string(300, 't') + "\\"},
        {{CUT_NAME + "EXTRA.log"}, std::nullopt, CUT_NAME.substr(0, 257) + "...", not_set,
         CUT_NAME + "EXTRA.log"},
        {{}, std::nullopt, CUT_DIR + "/Ostrel." + std::string(244, 'm') + "...", not_set, "", false,
         CUT_DIR + "/", std::string(247, 'm') + "EXTRA"},
        {{std::string(1000, 'a')}, std::nullopt, std::string(257, 'a') + "...", not_set,
         std::string(301, 'a') + "..."},
        {{"x" + e(302)}, std::nullopt, "x" + e(128) + "...", not_set, "x" + e(150) + "..."},
        {{}, std::nullopt, "dddd/Ostrel." + e(122) + "...", not_set, "", false, "dddd/", e(302)},
        // Best-fitted from Łódź.log, and from two arguments between
        // fullwidth quotes.
        {{"Lodz.log"}, std::nullopt, "Lodz.log", not_set, "", false, "", "0", false},
        {{"a b"}, std::nullopt, "a b", not_set, "", false, "", "0", true, false},
    };
}
