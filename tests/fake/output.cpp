// The writes to standard output are real: tests hand the program a stream
// and read back what was written to it.
#include "platform/output.h"

#include "fake.h"

namespace os {

bool reader_gone() { return fake().reader_gone; }

// The tests' output streams are binary already.
void set_binary_mode(std::FILE*) {}

unsigned stderr_code_page() { return fake().stderr_code_page; }

void write_stderr(const char* text) {
    fake().stderr_text += text;
    fake().title_when_told = fake().console_title;
}

}  // namespace os
