// The log follower: shows the last ten lines of a log, then every byte
// appended to it, looking once a second.
#pragma once

#include <cstddef>
#include <cstdio>

#include "platform/console.h"
#include "platform/files.h"

// Eleven line feeds mark off the last ten lines.
constexpr int NEWLINE_SLOTS = 11;
constexpr unsigned long POLL_INTERVAL_MS = 1000;
// How long the console window takes to show a new title.
constexpr unsigned long TITLE_SETTLE_MS = 40;
// Reads and writes go through one stack buffer of this size.
constexpr std::size_t BLOCK_SIZE = 64 * 1024;
// How much of the log's beginning tells a log written anew from one that
// grew: a server's log opens with a banner of several hundred bytes
// before its first time stamp.
constexpr std::size_t HEAD_SIZE = 4096;

// The program's entry; gives the exit status: 0 after a usage written
// whole, and otherwise 1, because following ends only through a failure.
int follow_main(int argc, char** argv);

// Fills path (PATH_BUF_SIZE bytes) with the single argument, or with the
// server's log for display DISNO in the temporary directory. Gives false
// when the path does not fit: what was cut names some other file. path
// then holds, for telling the user, the bare log name when the temporary
// directory does not fit, or the path as far as it fits, ending in "...".
bool resolve_log_path(int argc, char** argv, char* path);

// Where the last ten lines of the open log begin.
os::offset find_tail_start(std::FILE* log);
// The two ways of finding it: backward from the end of a file of known
// size, or forward through a stream of any kind, keeping the offsets after
// the last NEWLINE_SLOTS line feeds.
os::offset scan_tail_backward(std::FILE* log, os::offset size);
os::offset scan_tail_forward(std::FILE* log);

// How far the log has been shown, and its first bytes as far as they are
// known: up to HEAD_SIZE, fewer while the log is shorter. Whether the last
// byte shown since the last event told left a line open.
struct Shown {
    os::offset position = 0;
    char head[HEAD_SIZE];
    std::size_t head_size = 0;
    bool line_open = false;
};

enum class Pass { FOLLOWING, SEEK_FAILED, WRITE_FAILED, READER_GONE };

// Whether the open log and the file under its name are surely two files:
// never when either identity tells nothing.
bool other_file(const os::FileId& open, const os::FileId& named);

// One pass: copies what lies between the shown position and the end of the
// log to out and moves the position to that end. A log that no longer
// reaches the position, or no longer begins with the bytes it began with,
// is told as an event and shown again from its start; a change in place
// further in is not shown. When another file has taken the log's name, the
// old one's last bytes are shown, the change is told, and the new file
// takes its place in log, shown from its start. A deleted log is shown to
// its end and let go: log is then nullptr until a file appears under the
// name. Ends following when the seek fails, when a write to out fails, or
// when the reader of out has gone.
Pass follow_pass(std::FILE*& log, Shown& shown, const char* path, std::FILE* out);
// Passes for ever, a poll interval apart, from start; gives 1 once a seek
// or a write fails or out's reader has gone, with the log closed.
int follow_file(std::FILE* log, os::offset start, const char* path,
                std::FILE* out);

// Tells the user that path cannot be opened: in a box while the console
// window is hidden, or on standard error where there is no window to hide.
// Gives the exit status 1.
int report_open_failure(const char* path);
// The console's window, found through a passing title; the console has
// saved_title again on return.
os::Window find_console_window(const wchar_t* saved_title);
// Whether the console is a pseudoconsole, whose window is never shown.
bool console_is_pseudo();
