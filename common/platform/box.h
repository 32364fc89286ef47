// Message boxes, and whether anybody would see one.
#pragma once

namespace os {

// An OK button and the warning icon: MessageBoxA's style for every box the
// programs show.
constexpr unsigned BOX_OK_WARNING = 0x30;

// Makes the common controls ready for any window or box to come.
void InitCommonControls();
// The code page a box shows its text in: the process's ANSI code page.
unsigned box_code_page();
// Modal; returns once the user has dismissed it.
void MessageBoxA(void* owner, const char* text, const char* caption, unsigned style);
// Whether the process's window station is one a user sees: an installer's
// action run as LocalSystem is in a session nobody sees, where a box would
// wait for ever for its OK.
bool window_station_visible();
// Whether the process runs in session 0, the services' own: no user has
// seen it since Windows Vista, though a service allowed to interact with
// the desktop has a window station there that calls itself visible.
bool in_services_session();

}  // namespace os
