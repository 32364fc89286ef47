// The argument check of the native stand-in: arguments are bytes here,
// passed on as they were given.
#include "os.h"

namespace os {

bool argument_is_exact(int, const char*) { return true; }
bool argument_count_is_exact(int) { return true; }

}  // namespace os
