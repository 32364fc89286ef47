// Writing the font path list once.
#include <cstdio>
#include <cstring>

#include "glyphroots.h"
#include "platform/environment.h"
#include "text.h"

namespace {

// The list's entries are separated by commas, so a directory whose name
// holds one is written by its short name, which holds none wherever the
// volume keeps short names (the system drive does by default). Gives
// nullptr when there is no name without a comma to write.
const char* entry_name(const char* dir, char (&short_name)[PATH_BUF_SIZE]) {
    if (!std::strchr(dir, ',')) return dir;
    unsigned long n = os::GetShortPathNameA(dir, short_name, PATH_BUF_SIZE);
    if (n == 0 || n >= PATH_BUF_SIZE || std::strchr(short_name, ',')) return nullptr;
    return short_name;
}

}  // namespace

int ensure_font_path_list(const char* install_dir) {
    char path[PATH_BUF_SIZE];
    // A cut path would name another file, perhaps in another folder.
    if (!bounded_format(path, PATH_BUF_SIZE - 1, "%s\\glyphroots", install_dir)) return 1;
    seal_path(path);

    // A list that can be read is the installation's own: never touch it.
    if (std::FILE* existing = std::fopen(path, "rt")) {
        std::fclose(existing);
        return 0;
    }
    // Both names are settled before anything is created: a list whose
    // entries its reader would split apart is not written at all.
    char install_short[PATH_BUF_SIZE];
    char windows_short[PATH_BUF_SIZE];
    const char* install_entry = entry_name(install_dir, install_short);
    const char* windows_entry =
        entry_name(env_or_default("WINDIR", "C:\\Windows"), windows_short);
    if (!install_entry || !windows_entry) return 1;
    std::FILE* list = std::fopen(path, "wt");
    if (!list) return 1;
    return finish_font_path_list(list, path, install_entry, windows_entry);
}

int finish_font_path_list(std::FILE* list, const char* list_path, const char* install_dir,
                          const char* windows_dir) {
    bool written = write_font_path_list(list, install_dir, windows_dir);
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
