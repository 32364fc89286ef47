// The built glyphroots.exe under Wine, run as the installer runs it: with
// the install directory as its argument. The program's path is the
// argument of this test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "process.h"
#include "program_args.h"
#include "temp_file.h"

namespace fs = std::filesystem;

namespace {

std::string program;

int run_glyphroots(const std::string& install_dir) {
    Child child;
    if (!child.start({program, install_dir})) return -1;
    return child.wait(20000);
}

TEST(GlyphrootsProgram, WritesTheListOnceWithCrLf) {
    fs::path folder = scratch_path("Ostrel install");
    fs::create_directories(folder);
    const std::string dir = folder.string();
    const std::string list = dir + "\\glyphroots";

    ASSERT_EQ(run_glyphroots(dir), 0);
    const char* windir = std::getenv("WINDIR");
    const std::string expected =
        "# glyphroots\r\n"
        "# comma-separated list of directories to add to the default font path\r\n"
        "# defaults are misc, TTF, 100dpi, 75dpi\r\n"
        "# also allows entries on individual lines\r\n" +
        dir + "\\fonts\\dejavu," + dir + "\\fonts\\cyrillic\r\n" +
        std::string(windir ? windir : "C:\\Windows") + "\\Fonts\r\n";
    EXPECT_EQ(read_all(list), expected);

    EXPECT_EQ(run_glyphroots(dir), 0);
    EXPECT_EQ(read_all(list), expected);
    fs::remove_all(folder);
}

TEST(GlyphrootsProgram, MissingDirectoryFailsQuietly) {
    fs::path folder = scratch_path("absent");
    EXPECT_EQ(run_glyphroots(folder.string()), 1);
    EXPECT_FALSE(fs::exists(folder));
}

TEST(GlyphrootsProgram, OverLongDirectoryCreatesNothing) {
    fs::path folder = scratch_path("long");
    std::string dir = folder.string();
    dir += "\\" + std::string(249 - dir.size() - 1, 'd');
    fs::create_directories(dir);
    EXPECT_EQ(run_glyphroots(dir), 1);
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
    return run_tests_on_programs(argc, argv, {&program}, "e2e_glyphroots PATH-OF-GLYPHROOTS");
}
