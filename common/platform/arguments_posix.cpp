// Arguments are bytes here, passed on as they were given.
#include "arguments.h"

namespace os {

bool argument_is_exact(int, const char*) { return true; }
bool argument_count_is_exact(int) { return true; }

}  // namespace os
