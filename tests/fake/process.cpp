#include "platform/process.h"

#include <cstdio>
#include <cstdlib>

#include "fake.h"

Fake& fake() {
    static Fake state;
    return state;
}

void reset_fake() { fake() = Fake{}; }

void fake_asked() {
    if (!fake().controls_ready) fake().asked_before_controls = true;
}

namespace os {

unsigned long GetCurrentProcessId() { return fake().process_id; }

void Sleep(unsigned long milliseconds) {
    static unsigned long pauses_at_this_time = 0;
    Fake& f = fake();
    f.clock_ms += milliseconds;
    pauses_at_this_time = milliseconds == 0 ? pauses_at_this_time + 1 : 0;
    if (f.clock_ms > 200000 || pauses_at_this_time > 1000) {
        std::fputs("fake Sleep: a loop that never ends\n", stderr);
        std::abort();
    }
    if (f.at_pause) f.at_pause();
}

}  // namespace os
