#include "platform/arguments.h"

#include "fake.h"

namespace os {

bool argument_is_exact(int, const char*) {
    fake_asked();
    return fake().argument_exact;
}

bool argument_count_is_exact(int) {
    fake_asked();
    return fake().argument_count_exact;
}

}  // namespace os
