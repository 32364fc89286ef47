// Arguments for the programs under test: the paths of built programs
// handed to a test program, and argument vectors for the entries.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Starts GoogleTest, takes the program paths that follow its own flags,
// and runs every test; a wrong count gets the usage line and status 2.
int run_tests_on_programs(int argc, char** argv, const std::vector<std::string*>& programs,
                          const char* usage);

// The program's arguments as the system gave them, in UTF-8 whatever the
// code page, less GoogleTest's flags once it has taken them.
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Whether the tests run under Wine rather than on the system they were
// built for: a test that expects what Wine does differently asks this.
bool running_under_wine();

// piece, times times over: long arguments and names.
inline std::string repeated(const std::string& piece, int times) {
    std::string all;
    while (times-- > 0) all += piece;
    return all;
}

// A path as the program under test sees it: build paths under Wine are
// host paths, reached through drive Z:.
std::string program_path(std::string path);

// An argument vector as main receives it, over strings of its own: the
// program's name, then args.
class Argv {
public:
    Argv(const char* program, std::vector<std::string> args) : args_(std::move(args)) {
        args_.insert(args_.begin(), program);
        for (std::string& a : args_) pointers_.push_back(a.data());
        pointers_.push_back(nullptr);
    }
    Argv(const Argv&) = delete;  // the pointers are into args_
    int count() const { return static_cast<int>(args_.size()); }
    char** get() { return pointers_.data(); }

private:
    std::vector<std::string> args_;
    std::vector<char*> pointers_;
};
