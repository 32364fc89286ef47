#include "box.h"

#include <windows.h>
#include <commctrl.h>

static_assert(os::BOX_OK_WARNING == (MB_OK | MB_ICONWARNING));

namespace os {

void InitCommonControls() { ::InitCommonControls(); }

unsigned box_code_page() { return ::GetACP(); }

void MessageBoxA(void* owner, const char* text, const char* caption, unsigned style) {
    ::MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}

// A station that cannot be asked is taken for a desktop's.
bool window_station_visible() {
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!::GetUserObjectInformationA(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                     &needed)) {
        return true;
    }
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

bool in_services_session() {
    DWORD session = 0;
    return ::ProcessIdToSessionId(::GetCurrentProcessId(), &session) && session == 0;
}

}  // namespace os
