#include "program_args.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

int run_tests_on_programs(int argc, char** argv, const std::vector<std::string*>& programs,
                          const char* usage) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != static_cast<int>(programs.size()) + 1) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return 2;
    }
    const std::vector<std::string> args = utf8_arguments(argc, argv);
    for (std::size_t i = 0; i < programs.size(); ++i) *programs[i] = program_path(args[i + 1]);
    return RUN_ALL_TESTS();
}

std::string program_path(std::string path) {
    if (std::filesystem::path::preferred_separator != '\\') return path;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}
