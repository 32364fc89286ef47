// Everything follow tells the user, in one place. The line feeds are part
// of the texts: a line on standard error ends its own line.
#pragma once

// The usage: follow /?, as every console tool answers it.
constexpr const char* USAGE =
    "Shows the last ten lines of a log, then every byte appended to it,\n"
    "looking once a second, until it is stopped with Ctrl+C.\n"
    "\n"
    "FOLLOW [log]\n"
    "\n"
    "  log   The file to follow. Without it, the Ostrel X server's log for\n"
    "        display DISNO: %TEMP%\\Ostrel.<DISNO>.log (DISNO unset: 0).\n";

// Failures: each ends follow with status 1.
constexpr const char* OPEN_FAILURE_CAPTION = "follow.exe error";
constexpr const char* OPEN_FAILURE_BOX = "Can't open file...\n%s\n\nDISPLAY \"%s\"";
// DISPLAY's value in the box when it is not set.
constexpr const char* DISPLAY_NOT_SET = "not set";
constexpr const char* OPEN_FAILURE_LINE = "follow: can't open %s\n";
// Begins with a line feed: it follows the log's bytes.
constexpr const char* TAIL_FAILURE_LINE = "\nfollow: can't tail %s\n";
constexpr const char* WRITE_FAILURE_LINE = "follow: can't write standard output\n";

// The console's title for the moment its window is looked up by it: this
// process's own.
constexpr const char* PASSING_TITLE = "follow %lu";

// Events: follow goes on after them, showing the log from its start.
constexpr const char* TRUNCATED_EVENT_LINE = "follow: %s: file truncated\n";
constexpr const char* REPLACED_EVENT_LINE = "follow: %s: file replaced\n";
