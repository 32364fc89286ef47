// The two ways failures reach the user.
#pragma once

// The warning notice: a modal box with no owner, an OK button and the
// warning icon.
void warning_notice(const char* caption, const char* text);

// Formats one message with one string argument and writes it to standard
// error; the format carries its own program name and line feeds.
void complain(const char* format, const char* arg);
