// The log's file operations: its shared open, positions past 2 GiB, and
// what tells one file from another. The tests run them on real files.
#pragma once

#include <cstdint>
#include <cstdio>

namespace os {

using offset = std::int64_t;

// Opens a log for binary reading without getting in its writer's way: the
// writer may go on writing it, and may rename or delete it while it is
// read. nullptr when it cannot be opened, for whatever reason; a folder
// is no log.
std::FILE* open_log(const char* path);

// 0 on success.
int fseek64(std::FILE* file, offset position);
// -1 unless the stream is a regular file whose size can be known. Some
// files report less than they hold: it is a hint.
offset fsize64(std::FILE* file);

// What tells one file from another while both exist: the volume it lies on
// and its index there, 128 bits where the file system gives them (ReFS,
// Dev Drive), the high half 0 elsewhere. An index of 0 stands for what the
// system did not tell, and so does one of all ones, what ReFS gives for an
// id that 64 bits cannot hold.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t index_high = 0;
};

// The open file's identity, read afresh.
FileId identify_open(std::FILE* file);
// The identity of the file that path names now, through any links; index
// 0 when it names nothing, a folder, or nothing that can be looked at.
// Nothing of the name is held open on return.
FileId identify_name(const char* path);
// Whether the open file has been deleted while it was read.
bool deleted(std::FILE* file);

}  // namespace os
