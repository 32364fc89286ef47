#include "fake_os.h"

#include <cstring>

#include "os.h"

FakeOs& fake_os() {
    static FakeOs state;
    return state;
}

void reset_fake_os() { fake_os() = FakeOs{}; }

namespace os {

void InitCommonControls() { fake_os().calls.push_back("InitCommonControls"); }

unsigned long GetTempPathA(unsigned long length, char* buffer) {
    FakeOs& f = fake_os();
    f.calls.push_back("GetTempPathA " + std::to_string(length));
    if (f.temp_fails) return 0;
    unsigned long n = static_cast<unsigned long>(f.temp_dir.size());
    if (n + 1 > length) return n + 1;
    std::memcpy(buffer, f.temp_dir.c_str(), n + 1);
    return n;
}

void Sleep(unsigned long milliseconds) {
    fake_os().calls.push_back("Sleep " + std::to_string(milliseconds));
}

void MessageBoxA(Window owner, const char* text, const char* caption, unsigned style) {
    fake_os().calls.push_back("MessageBoxA");
    fake_os().boxes.push_back({owner, text, caption, style});
}

const char* getenv(const char* name) {
    FakeOs& f = fake_os();
    f.calls.push_back(std::string("getenv ") + name);
    auto it = f.env.find(name);
    return it == f.env.end() ? nullptr : it->second.c_str();
}

void write_stderr(const char* text) { fake_os().stderr_text += text; }

}  // namespace os
