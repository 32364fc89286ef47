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

unsigned long GetCurrentProcessId() { return 4242; }

// A loop that pauses far longer than any test asks ends the run rather
// than hang it.
void Sleep(unsigned long milliseconds) {
    Fake& f = fake();
    if ((f.clock_ms += milliseconds) > 200000) {
        std::fputs("fake Sleep: a loop that never ends\n", stderr);
        std::abort();
    }
    if (f.at_pause) f.at_pause();
}

}  // namespace os
