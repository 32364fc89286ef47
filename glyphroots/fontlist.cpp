// Writing the font path list once.
#include <cstdio>

#include "glyphroots.h"
#include "text.h"

int create_font_path_list(const char* install_dir) {
    char path[PATH_BUF_SIZE];
    // A cut path would name another file, perhaps in another folder.
    if (!bounded_format(path, PATH_BUF_SIZE - 1, "%s\\glyphroots", install_dir)) return 1;
    seal_path(path);

    // A list that can be read is the installation's own: never touch it.
    if (std::FILE* existing = std::fopen(path, "rt")) {
        std::fclose(existing);
        return 0;
    }
    std::FILE* list = std::fopen(path, "wt");
    if (!list) return 1;
    return finish_font_path_list(list, path, install_dir);
}

int finish_font_path_list(std::FILE* list, const char* list_path,
                          const char* install_dir) {
    char dir[PATH_BUF_SIZE];
    bounded_copy(dir, PATH_BUF_SIZE, install_dir);
    seal_path(dir);
    const char* windows_dir = env_or_default("WINDIR", "C:\\Windows");
    bool written = write_font_path_list(list, dir, windows_dir);
    // The close flushes, so it can fail too.
    bool closed = std::fclose(list) == 0;
    if (written && closed) return 0;
    std::remove(list_path);
    return 1;
}

bool write_font_path_list(std::FILE* list, const char* install_dir,
                          const char* windows_dir) {
    return std::fprintf(list, FONT_PATH_TEMPLATE, install_dir, install_dir,
                        windows_dir) >= 0;
}
