// The install directory check, and the usage told where it fails.
#include <cctype>

#include "glyphroots.h"
#include "tell.h"

bool check_install_dir(const char* arg) {
    return arg && std::isalpha(static_cast<unsigned char>(arg[0])) &&
           arg[1] == ':' && arg[2] == '\\';
}

void tell_usage() { tell_in_box(USAGE_CAPTION, USAGE); }
