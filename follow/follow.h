// The log follower: shows the last ten lines of a log, then every byte
// appended to it, looking once a second.
#pragma once

#include <cstddef>
#include <cstdio>

#include "os.h"

// Eleven line feeds mark off the last ten lines.
constexpr int NEWLINE_SLOTS = 11;
constexpr unsigned long POLL_INTERVAL_MS = 1000;
// Reads and writes go through one stack buffer of this size.
constexpr std::size_t BLOCK_SIZE = 64 * 1024;

// The program's entry; gives the exit status, which is always 1 because
// following ends only through a failure.
int follow_main(int argc, char** argv);

// Fills path (PATH_BUF_SIZE bytes) with the single argument, or with the
// server's log for display DISNO in the temporary directory. Gives false
// when the temporary directory does not fit; path then holds the bare
// log name, for telling the user.
bool resolve_log_path(int argc, char** argv, char* path);

// Where the last ten lines of the open log begin.
os::offset find_tail_start(std::FILE* log);
// The two ways of finding it: backward from the end of a file of known
// size, or forward through a stream of any kind, keeping the offsets after
// the last NEWLINE_SLOTS line feeds.
os::offset scan_tail_backward(std::FILE* log, os::offset size);
os::offset scan_tail_forward(std::FILE* log);

// How much of the log a rewrite is told by: the last bytes shown.
constexpr std::size_t FINGERPRINT_SIZE = 64;

// How far the log has been shown, and the last bytes shown before that
// point. A log rewritten from its start no longer has them there, even
// when it is already as long as before.
struct Shown {
    os::offset position = 0;
    char fingerprint[FINGERPRINT_SIZE];
    std::size_t fingerprint_size = 0;
};

enum class Pass { FOLLOWING, SEEK_FAILED, READER_GONE };

// One pass: copies what lies between the shown position and the end of the
// log to out and moves the position to that end. A log that has shrunk
// below the position, or whose bytes before it have changed, is announced
// and shown again from its start. Ends following when the seek fails or
// when the reader of out has gone; other write failures do not stop it.
Pass follow_pass(std::FILE* log, Shown& shown, const char* path, std::FILE* out);
// Passes for ever, a poll interval apart, from start; gives 1 once a seek
// fails or out's reader has gone, with the log closed.
int follow_file(std::FILE* log, os::offset start, const char* path,
                std::FILE* out);

// How long the console window takes to show a new title.
constexpr unsigned long TITLE_SETTLE_MS = 40;

// Tells the user that path cannot be opened; gives the exit status 1.
int report_open_failure(const char* path);
// The console's window, found through a passing title; the console has
// saved_title again on return.
os::Window find_console_window(const wchar_t* saved_title);
