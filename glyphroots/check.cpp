// The install directory check and the usage notice.
#include <cctype>

#include "glyphroots.h"
#include "warn.h"

bool check_install_dir(const char* arg) {
    return arg && std::isalpha(static_cast<unsigned char>(arg[0])) &&
           arg[1] == ':' && arg[2] == '\\';
}

void show_usage() {
    warning_notice(
        "glyphroots.exe error",
        "USAGE ERROR:\n"
        "This utility should not be run stand-alone.\n"
        "It is designed to run from the Ostrel installer\n"
        "which passes the correct install directory.\n"
        "\n"
        "glyphroots.exe creates a glyphroots file, matched to\n"
        "the installation, if it does not already exist.\n"
        "\n"
        "For example...\n"
        "glyphroots \"C:\\Program Files\\Ostrel\"");
}
