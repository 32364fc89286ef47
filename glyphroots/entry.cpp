#include "glyphroots.h"
#include "platform/arguments.h"
#include "platform/box.h"

namespace {

// Where nobody sees the box, nobody dismisses it: the installer would wait
// for ever. The status alone tells it there.
bool box_is_seen() { return os::window_station_visible() && !os::in_services_session(); }

}  // namespace

int glyphroots_main(int argc, char** argv) {
    os::InitCommonControls();
    const char* install_dir = argc > 1 ? argv[1] : nullptr;
    if (!check_install_dir(install_dir)) {
        if (box_is_seen()) tell_usage();
        return 1;
    }
    // A directory the code page cannot hold came in best-fitted into another
    // directory's name: write nothing there, as for a list that cannot be
    // created.
    if (!os::argument_is_exact(1, install_dir)) return 1;
    return ensure_font_path_list(install_dir);
}
