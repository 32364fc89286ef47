// A scratch file in the temporary directory, removed when done.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

class TempFile {
public:
    explicit TempFile(const std::string& content = "");
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    void append(const std::string& bytes) const;
    void rewrite(const std::string& bytes) const;

private:
    std::string path_;
};

// The whole of a file's bytes, or of a stream's from its start.
std::string read_all(const std::string& path);
std::string read_all(std::FILE* stream);
// Writes bytes into a file named in UTF-8, in place of what it held or
// after it, creating it if need be.
void write_bytes(const std::string& utf8_path, const std::string& bytes, bool append = false);
// A unique name in the temporary directory; nothing is created.
std::string scratch_path(const std::string& stem);
// How many files, pipes and other handles the process holds open now; -1
// where the system does not say.
int open_handle_count();
// Lets a far write leave a hole in the file rather than zeros on disk;
// false where the file system cannot.
bool make_sparse(std::FILE* file);
