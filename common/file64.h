// The log's file operations: its shared open and positions past 2 GiB.
// They are never faked: the tests run them on real files.
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

}  // namespace os
