#include "glyphroots.h"
#include "os.h"

int glyphroots_main(int argc, char** argv) {
    os::InitCommonControls();
    const char* install_dir = argc > 1 ? argv[1] : nullptr;
    if (!check_install_dir(install_dir)) {
        show_usage();
        return 1;
    }
    return create_font_path_list(install_dir);
}
