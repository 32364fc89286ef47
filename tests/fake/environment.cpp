#include "platform/environment.h"

#include <cstring>

#include "fake.h"

namespace os {

const char* getenv(const char* name) {
    fake_asked();
    Fake& f = fake();
    if (std::strcmp(name, "DISPLAY") == 0) {
        ++f.display_reads;
        f.display_read_while_visible = f.window_visible;
    }
    auto it = f.env.find(name);
    return it == f.env.end() ? nullptr : it->second.c_str();
}

unsigned long GetTempPathA(unsigned long length, char* buffer) {
    fake_asked();
    return fake().temp_fails ? 0 : answer_temp_path(fake().temp_dir.c_str(), "", length, buffer);
}

unsigned long GetShortPathNameA(const char* long_path, char* short_path, unsigned long length) {
    auto it = fake().short_names.find(long_path);
    if (it == fake().short_names.end()) return 0;
    const std::string& name = it->second;
    if (name.size() >= length) return static_cast<unsigned long>(name.size() + 1);
    std::memcpy(short_path, name.c_str(), name.size() + 1);
    return static_cast<unsigned long>(name.size());
}

}  // namespace os
