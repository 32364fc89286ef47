// What the system tells a program about its place: variables, the
// temporary directory, the short names of paths.
#pragma once

namespace os {

// The value of an environment variable, or nullptr when it is not set.
const char* getenv(const char* name);
// Writes the temporary directory, ending in a separator, and returns its
// length; returns the size it would need, terminator included, when it
// does not fit, and 0 on failure.
unsigned long GetTempPathA(unsigned long length, char* buffer);
// The short (8.3) name of an existing path: its length, the size it would
// need when it does not fit, or 0 when there is none.
unsigned long GetShortPathNameA(const char* long_path, char* short_path, unsigned long length);

// GetTempPathA's answer, for whatever stands in for the system: dir and
// then separator, or the size they need with the terminator.
unsigned long answer_temp_path(const char* dir, const char* separator, unsigned long length,
                               char* buffer);

}  // namespace os
