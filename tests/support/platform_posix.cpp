// The test support's platform parts, natively.
#include "program_args.h"
#include "temp_file.h"

// A far write leaves a hole on the file systems here.
bool make_sparse(std::FILE*) { return true; }

bool running_under_wine() { return false; }

std::vector<std::string> utf8_arguments(int argc, char** argv) { return {argv, argv + argc}; }
