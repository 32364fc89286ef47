#include "output.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace os {

// The runtime maps these to errno values that other failures share; the
// system's own code tells. Windows gives the first two, Wine the third.
bool reader_gone() {
    const DWORD error = ::GetLastError();
    return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
}

void set_binary_mode(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

unsigned stderr_code_page() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) ? ::GetConsoleOutputCP()
                                                                     : ::GetACP();
}

// The runtime buffers standard error when it is a pipe or a file; a line
// must not wait for the next one.
void write_stderr(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

}  // namespace os
