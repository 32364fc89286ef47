// Every way the programs tell the user something. Three channels: a box,
// a line on standard error, and the usage on standard output. Three kinds
// of thing told: the usage; a failure, after which the program ends with
// status 1; and an event, after which follow goes on.
#pragma once

#include <cstddef>

#include "platform/output.h"

// Formats text (size bytes), to be shown in code_page, from a format
// whose only conversions are %s: the first takes name, a second takes
// value. Both are shown as the user would type them: a control character
// as '?', and so each C1 control, bidirectional control or mark,
// zero-width or invisible character, line or paragraph separator, and a
// byte the code page gives no character. Where the whole does not fit,
// name is cut between characters and marked "...", never the text around
// it. value stays whole unless it does not fit even beside a name cut to
// its mark; then name keeps what it can beside a value cut to its mark,
// and value the rest, cut and marked too.
void format_for_user(char* text, std::size_t size, unsigned code_page, const char* format,
                     const char* name, const char* value = "");

// The box: modal, with no owner, an OK button and the warning icon.
void tell_in_box(const char* caption, const char* text);
// One line about name on standard error, formatted by format_for_user; the
// format carries the program's name and its line feeds.
void tell_on_stderr(const char* format, const char* name);
// The usage, on standard output, flushed; how the write went.
os::Output tell_on_stdout(const char* text);
