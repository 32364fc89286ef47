// Starting a program from a Windows test.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// Wine, busy, now and then fails a start at once: START, which calls
// CreateProcessW, is tried three times, and each failure is said with its
// error, so that a start that fails for good fails its test.
template <typename Start>
bool start_patiently(const std::string& program, Start start) {
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (start()) return true;
        std::fprintf(stderr, "starting %s failed with error %lu (attempt %d of 3)\n",
                     program.c_str(), GetLastError(), attempt);
        Sleep(200);
    }
    return false;
}
