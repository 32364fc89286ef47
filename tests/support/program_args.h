// For test programs that are handed the paths of the built programs.
#pragma once

#include <string>
#include <vector>

// Starts GoogleTest, takes the program paths that follow its own flags,
// and runs every test; a wrong count gets the usage line and status 2.
int run_tests_on_programs(int argc, char** argv, const std::vector<std::string*>& programs,
                          const char* usage);

// A path as the program under test sees it: build paths under Wine are
// host paths, reached through drive Z:.
std::string program_path(std::string path);
