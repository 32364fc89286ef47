// The font path list creator: run once by the installer with the install
// directory, it writes the list of font directories the server adds to its
// default font path, unless the list is there already.
#pragma once

#include <cstdio>

// Install directory, install directory, Windows directory.
constexpr const char* FONT_PATH_TEMPLATE =
    "# glyphroots\n"
    "# comma-separated list of directories to add to the default font path\n"
    "# defaults are misc, TTF, 100dpi, 75dpi\n"
    "# also allows entries on individual lines\n"
    "%s\\fonts\\dejavu,%s\\fonts\\cyrillic\n"
    "%s\\Fonts\n";

// What glyphroots tells the user: the usage, in a box, for an argument
// that is no install directory.
constexpr const char* USAGE_CAPTION = "glyphroots.exe error";
constexpr const char* USAGE =
    "USAGE ERROR:\n"
    "This utility should not be run stand-alone.\n"
    "It is designed to run from the Ostrel installer\n"
    "which passes the correct install directory.\n"
    "\n"
    "glyphroots.exe creates a glyphroots file, matched to\n"
    "the installation, if it does not already exist.\n"
    "\n"
    "For example...\n"
    "glyphroots \"C:\\Program Files\\Ostrel\"";

// The program's entry; gives 0 when the list has been written or was
// there already, 1 otherwise.
int glyphroots_main(int argc, char** argv);

// Accepts only an argument that begins with a drive letter, a colon and a
// backslash; nullptr is a missing argument.
bool check_install_dir(const char* arg);
void tell_usage();

// Makes sure install_dir holds a readable font path list: leaves one that
// is there, or writes it. Gives the exit status.
int ensure_font_path_list(const char* install_dir);
// Writes the list, naming the two directories as given, into a stream just
// opened for it at list_path, and closes it. A list that could not be
// written whole is removed: a partial one would be kept for ever, since it
// can be read.
int finish_font_path_list(std::FILE* list, const char* list_path, const char* install_dir,
                          const char* windows_dir);
// The one formatted write; gives false when it fails.
bool write_font_path_list(std::FILE* list, const char* install_dir,
                          const char* windows_dir);
