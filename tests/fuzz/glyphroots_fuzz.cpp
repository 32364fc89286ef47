// The install directory check and the font path list on any argument.
// Accepted arguments are relative names on Linux ("C:\..." is one file
// name), so lists are written into the current directory, checked, and
// removed again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

#include "expected_texts.h"
#include "fake.h"
#include "glyphroots.h"
#include "temp_file.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string arg(reinterpret_cast<const char*>(data), size);
    arg = arg.substr(0, arg.find('\0'));
    const bool accepted = check_install_dir(arg.c_str());
    // A drive letter, a colon and a backslash.
    static const std::regex drive_letter_colon_backslash("^[A-Za-z]:\\\\");
    const bool expected = std::regex_search(arg, drive_letter_colon_backslash);
    if (accepted != expected) std::abort();
    if (!accepted || arg.find('/') != std::string::npos) return 0;

    reset_fake();
    fake().env["WINDIR"] = "C:\\WINDOWS";
    const std::string list = arg + "\\glyphroots";
    const int status = ensure_font_path_list(arg.c_str());
    if (list.size() > PATH_BUF_SIZE - 2) {
        if (status != 1 || std::fopen(list.substr(0, PATH_BUF_SIZE - 2).c_str(), "rb")) std::abort();
        return 0;
    }
    if (arg.find(',') != std::string::npos) {
        // No short names here: a list whose reader would split the
        // directory's name apart is never written.
        if (status != 1 || std::fopen(list.c_str(), "rb")) std::abort();
        return 0;
    }
    if (status != 0) {
        // Only a list that cannot be created may fail (a name too long for
        // this file system, for one).
        if (std::FILE* f = std::fopen(list.c_str(), "wb")) {
            std::fclose(f);
            std::remove(list.c_str());
            std::abort();
        }
        return 0;
    }
    if (read_all(list) != font_path_list(arg, "C:\\WINDOWS", "\n")) std::abort();
    std::remove(list.c_str());
    return 0;
}
