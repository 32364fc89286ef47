// The built glyphroots.exe under Wine, run as the installer runs it: with
// the install directory as its argument. The program's path is the
// argument of this test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "expected_texts.h"
#include "process.h"
#include "program_args.h"
#include "temp_file.h"
#include "wide_win32.h"

namespace fs = std::filesystem;

namespace {

std::string program;

int run_glyphroots(const std::string& install_dir) {
    Child child;
    if (!child.start({program, install_dir})) return -1;
    return child.wait(20000);
}

// The directory goes into the list in its single-byte form, as the server
// reads it: Café in the code page's own byte for é.
void writes_the_list_once_with_cr_lf(const std::string& name) {
    const std::string utf8_dir = scratch_path("install") + "\\" + name;
    fs::path folder = widen(utf8_dir);
    fs::create_directories(folder);
    const std::string dir = to_code_page(folder.wstring(), CP_ACP);
    const std::string list = dir + "\\glyphroots";

    ASSERT_EQ(run_glyphroots(utf8_dir), 0);
    const char* windir = std::getenv("WINDIR");
    const std::string expected = font_path_list(dir, windir ? windir : "C:\\Windows", "\r\n");
    EXPECT_EQ(read_all(list), expected);

    EXPECT_EQ(run_glyphroots(utf8_dir), 0);
    EXPECT_EQ(read_all(list), expected);
    fs::remove_all(folder.parent_path());
}

TEST(GlyphrootsProgram, WritesTheListOnceWithCrLf) {
    writes_the_list_once_with_cr_lf("Ostrel install");
    if (widen(to_code_page(L"Caf\u00e9", CP_ACP), CP_ACP) != L"Caf\u00e9") {
        GTEST_SKIP() << "this code page has no é";
    }
    writes_the_list_once_with_cr_lf(u8"Café");
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

// An install directory outside the code page reaches the program
// best-fitted into its twin's name (Łódź into Lódz on a Western code page),
// whoever writes the command line: a shell that quotes the program, or a
// batch file that quotes only its folder.
TEST(GlyphrootsProgram, DirectoryTheCodePageCannotHoldIsRefused) {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "a UTF-8 code page holds every name";
    const std::string base = scratch_path("install");
    const std::string dir = base + u8"\\Łódź\\Ostrel";
    const fs::path folder = widen(dir);
    const fs::path twin = widen(to_code_page(folder.wstring(), CP_ACP), CP_ACP);
    ASSERT_NE(folder, twin);
    fs::create_directories(folder);
    fs::create_directories(twin);
    const std::string launchers[] = {"\"" + program + "\"", "\"C:\\bin dir\"\\glyphroots.exe"};
    for (const std::string& launcher : launchers) {
        Child child;
        ASSERT_TRUE(child.start_command_line(program, launcher + " \"" + dir + "\""));
        EXPECT_EQ(child.wait(20000), 1) << launcher;
        EXPECT_TRUE(fs::is_empty(folder)) << launcher;
        EXPECT_TRUE(fs::is_empty(twin)) << launcher << ": nothing written into the best-fit twin";
    }
    fs::remove_all(widen(base));
}

}  // namespace

int main(int argc, char** argv) {
    return run_tests_on_programs(argc, argv, {&program}, "e2e_glyphroots PATH-OF-GLYPHROOTS");
}
