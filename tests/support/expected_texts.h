// The texts the programs must give, written out once for every test that
// checks them, from the unit tests to the fuzzers.
#pragma once

#include <string>

// glyphroots' usage.
inline const std::string GLYPHROOTS_USAGE =
    "USAGE ERROR:\nThis utility should not be run stand-alone.\nIt is designed to run from "
    "the Ostrel installer\nwhich passes the correct install directory.\n\nglyphroots.exe "
    "creates a glyphroots file, matched to\nthe installation, if it does not already "
    "exist.\n\nFor example...\nglyphroots \"C:\\Program Files\\Ostrel\"";

// The font path list for an install directory and a Windows directory, as
// stored with the given line end.
inline std::string font_path_list(const std::string& dir, const std::string& windows_dir,
                                  const std::string& newline) {
    return "# glyphroots" + newline +
           "# comma-separated list of directories to add to the default font path" + newline +
           "# defaults are misc, TTF, 100dpi, 75dpi" + newline +
           "# also allows entries on individual lines" + newline + dir + "\\fonts\\dejavu," + dir +
           "\\fonts\\cyrillic" + newline + windows_dir + "\\Fonts" + newline;
}
