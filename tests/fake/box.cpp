#include "platform/box.h"

#include "fake.h"

namespace os {

void InitCommonControls() { fake().controls_ready = true; }

unsigned box_code_page() { return fake().box_code_page; }

void MessageBoxA(void* owner, const char* text, const char* caption, unsigned style) {
    Fake& f = fake();
    f.boxes.push_back({owner, text, caption, style, f.window_visible, f.console_title,
                       f.controls_ready});
}

bool window_station_visible() {
    fake_asked();
    return fake().window_station_visible;
}

bool in_services_session() {
    fake_asked();
    return fake().services_session;
}

}  // namespace os
