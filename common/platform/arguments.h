// Whether the arguments a program received are the ones the user gave.
#pragma once

namespace os {

// Whether argument, command-line argument index as the program received
// it in single bytes, is what the user gave; false when the system code
// page cannot hold it and it came in best-fitted into another name, or
// split differently.
bool argument_is_exact(int index, const char* argument);
// Whether the program received count arguments, as many as the user gave:
// a quote or a blank best-fitted from another character splits the line
// otherwise.
bool argument_count_is_exact(int count);

}  // namespace os
