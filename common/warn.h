// The two ways failures reach the user.
#pragma once

#include <cstddef>

// The warning notice: a modal box with no owner, an OK button and the
// warning icon.
void warning_notice(const char* caption, const char* text);

// Formats a notice into text (size bytes) from a format whose only
// conversions are %s: the first takes name, a second takes value. Both are
// shown as the user would type them, a control character as '?', C1 and
// bidirectional ones included. Where the whole does not fit, name is cut
// between characters and marked "...", never the text around it. value
// stays whole unless it does not fit even beside a name cut to its mark;
// then name keeps what it can beside a value cut to its mark, and value
// the rest, cut and marked too.
void format_notice(char* text, std::size_t size, const char* format, const char* name,
                   const char* value = "");

// Writes one notice line about name to standard error; the format carries
// its own program name and line feeds.
void complain(const char* format, const char* name);
