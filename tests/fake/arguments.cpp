#include "platform/arguments.h"

#include "fake.h"

namespace os {

bool argument_is_exact(int index, const char*) {
    fake_asked();
    return index != fake().best_fitted_argument;
}

bool argument_count_is_exact(int) {
    fake_asked();
    return fake().argument_count_exact;
}

}  // namespace os
