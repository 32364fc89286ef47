// No boxes here: the caption, then the text, on standard error, which is
// always seen.
#include "box.h"

#include "charset.h"

#include <cstdio>

namespace os {

void InitCommonControls() {}

unsigned box_code_page() { return CODE_PAGE_UTF8; }

void MessageBoxA(void*, const char* text, const char* caption, unsigned) {
    std::fprintf(stderr, "%s\n%s\n", caption, text);
}

bool window_station_visible() { return true; }
bool in_services_session() { return false; }

}  // namespace os
