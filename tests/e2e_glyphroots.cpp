// The built glyphroots.exe under Wine, run as the installer runs it: with
// the install directory as its argument, by hand and by real installers.
// The arguments of this test are the program's path, the NSIS installer's
// and the MSI package's, each none when its tool was not there to build it.
#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <string>

#include "expected_texts.h"
#include "process.h"
#include "program_args.h"
#include "temp_file.h"
#include "wide_win32.h"

namespace fs = std::filesystem;

namespace {

std::string program, nsis, msi;
// Wherever Windows is installed.
std::string msiexec() {
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    return to_code_page(system, CP_UTF8) + "\\msiexec.exe";
}

// The code page glyphroots.exe takes its arguments in: the system's, which
// every program without a UTF-8 manifest gets, as Windows and Wine keep it
// in the registry. This test's own is UTF-8.
UINT glyphroots_code_page() {
    static wchar_t number[16] = L"";
    DWORD size = sizeof number;
    if (!number[0]) {
        RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", L"ACP",
                     RRF_RT_REG_SZ, nullptr, number, &size);
    }
    return static_cast<UINT>(std::wcstoul(number, nullptr, 10));
}

// A name as glyphroots.exe receives it, best-fitted where need be.
std::string as_glyphroots_gets(const std::wstring& name) {
    return to_code_page(name, glyphroots_code_page());
}

bool code_page_holds(const std::wstring& name) {
    return widen(as_glyphroots_gets(name), glyphroots_code_page()) == name;
}

// Whether glyphroots refuses dir, with 1 and nothing written: a directory
// with a comma is listed by its short (8.3) name, which Wine always gives
// and Windows gives where the volume's settings say so (fsutil 8dot3name).
// A probe beside it in folder asks the volume.
bool refused_for_its_comma(const std::string& dir, const std::string& folder) {
    if (dir.find(',') == std::string::npos) return false;
    const fs::path probe = widen(folder + "\\a long name, with a comma");
    fs::create_directories(probe);
    wchar_t short_name[MAX_PATH] = L"";
    GetShortPathNameW(probe.c_str(), short_name, MAX_PATH);
    fs::remove(probe);
    return !short_name[0] || std::wstring(short_name).find(L',') != std::wstring::npos;
}

// Installing for the machine takes an administrator on Windows: without
// one an installer fails, or asks, and nobody answers. Wine enforces no
// elevation (Wine 10 starts programs without it, Wine 8 with it), so the
// installers run under Wine either way.
bool elevated() {
    HANDLE token = nullptr;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const bool yes = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
                     elevation.TokenIsElevated;
    CloseHandle(token);
    return yes;
}

// How the list names a directory: as given, or by its short name where a
// comma in its name would split its entries.
std::string listed_name(const std::string& dir) {
    if (dir.find(',') == std::string::npos) return dir;
    wchar_t short_name[MAX_PATH] = L"";
    GetShortPathNameW(widen(dir, glyphroots_code_page()).c_str(), short_name, MAX_PATH);
    const std::string listed = as_glyphroots_gets(short_name);
    EXPECT_EQ(listed.find(','), std::string::npos) << listed;
    return listed;
}

std::string expected_list(const std::string& dir) {
    const char* windir = std::getenv("WINDIR");
    return font_path_list(listed_name(dir), windir ? windir : "C:\\Windows", "\r\n");
}

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
    const std::string dir = as_glyphroots_gets(folder.wstring());
    const std::string list = utf8_dir + "\\glyphroots";
    if (refused_for_its_comma(dir, to_code_page(folder.parent_path().wstring(), CP_UTF8))) {
        EXPECT_EQ(run_glyphroots(utf8_dir), 1);
        EXPECT_TRUE(fs::is_empty(folder));
        fs::remove_all(folder.parent_path());
        return;
    }

    ASSERT_EQ(run_glyphroots(utf8_dir), 0);
    const std::string expected = expected_list(dir);
    EXPECT_EQ(read_all(list), expected);

    EXPECT_EQ(run_glyphroots(utf8_dir), 0);
    EXPECT_EQ(read_all(list), expected);
    fs::remove_all(folder.parent_path());
}

TEST(GlyphrootsProgram, WritesTheListOnceWithCrLf) {
    writes_the_list_once_with_cr_lf("Ostrel install");
    writes_the_list_once_with_cr_lf("Ostrel, Inc");
    if (!code_page_holds(L"Caf\u00e9")) GTEST_SKIP() << "this code page has no é";
    writes_the_list_once_with_cr_lf(u8"Café");
}

TEST(GlyphrootsProgram, MissingDirectoryFailsQuietly) {
    fs::path folder = fs::u8path(scratch_path("absent"));
    EXPECT_EQ(run_glyphroots(folder.u8string()), 1);
    EXPECT_FALSE(fs::exists(folder));
}

TEST(GlyphrootsProgram, OverLongDirectoryCreatesNothing) {
    fs::path folder = fs::u8path(scratch_path("long"));
    std::string dir = folder.u8string();
    dir += "\\" + std::string(249 - dir.size() - 1, 'd');
    fs::create_directories(fs::u8path(dir));
    EXPECT_EQ(run_glyphroots(dir), 1);
    EXPECT_TRUE(fs::is_empty(fs::u8path(dir)));
    fs::remove_all(folder);
}

// An install directory outside the code page reaches the program
// best-fitted into its twin's name (Łódź into Lódz on a Western code page),
// whoever writes the command line: a shell that quotes the program, or a
// batch file that quotes only its folder.
TEST(GlyphrootsProgram, DirectoryTheCodePageCannotHoldIsRefused) {
    if (glyphroots_code_page() == CP_UTF8) GTEST_SKIP() << "a UTF-8 code page holds every name";
    const std::string base = scratch_path("install");
    const std::string dir = base + u8"\\Łódź\\Ostrel";
    const fs::path folder = widen(dir);
    const fs::path twin = widen(as_glyphroots_gets(folder.wstring()), glyphroots_code_page());
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

// Waits up to 30 s for an installer to be done. A usage box that nobody
// sees holds it for ever: one found by then is dismissed, and the case
// fails.
template <class Done>
bool finished(Done done, const std::string& what) {
    for (int waited = 0; !done() && waited < 30000; waited += 100) Sleep(100);
    if (done()) return true;
    if (HWND box = FindWindowA(nullptr, "glyphroots.exe error")) PostMessageA(box, WM_COMMAND, IDOK, 0);
    ADD_FAILURE() << what << ": not done within 30 s";
    return false;
}

// The installers run it with the lines the README gives installer authors,
// silently. NSIS installs into the folder that /D= names, unquoted and
// last, spaces and all, so the command line is written whole; a drive's
// root, which it gives as a bare D:, is not taken while root installs stay
// off: it installs into its own default folder. It may end before its work
// does; the exit status it saw is written last. The MSI package passes
// "[INSTALLDIR]." and fails the install on a status other than 0, so the
// list names each folder with a \. after it.
void run_by_installer(bool by_msi) {
    const char* what_runs = by_msi ? "the MSI package" : "the NSIS installer";
    if ((by_msi ? msi : nsis) == "none") GTEST_SKIP() << "skipped: " << what_runs << " was not built";
    if (!elevated() && !running_under_wine()) {
        GTEST_SKIP() << "skipped: " << what_runs << " needs an administrator";
    }
    const std::string base = scratch_path("installers");
    fs::create_directories(widen(base));
    const std::string fallback = (fs::temp_directory_path() / "ostrel-setup-default").u8string();
    struct Case {
        bool msi;
        std::string asked, installed;
    } cases[] = {
        {false, base + "\\plain", base + "\\plain"},
        {false, base + "\\with spaces", base + "\\with spaces"},
        {false, base + u8"\\Café", base + u8"\\Café"},
        {false, base + "\\Ostrel Co., Ltd", base + "\\Ostrel Co., Ltd"},
        {false, "C:\\", fallback},
        {true, base + "\\with spaces", base + "\\with spaces"},
        {true, base + u8"\\Café", base + u8"\\Café"},
        {true, base + "\\Ostrel, Inc", base + "\\Ostrel, Inc"},
        {true, "C:\\", "C:\\"},
    };
    for (const Case& c : cases) {
        if (c.msi != by_msi) continue;
        if (c.asked.find(u8"é") != std::string::npos && !code_page_holds(L"Caf\u00e9")) continue;
        const std::string what = (c.msi ? "MSI into " : "NSIS into ") + c.asked;
        const fs::path folder = widen(c.installed);
        const std::string dir = as_glyphroots_gets(folder.wstring());
        const auto clean = [&folder] {  // what this run or an earlier one left; a root stays
            std::error_code ignored;
            for (const char* f : {"glyphroots", "glyphroots.exe", "exit-status.txt"}) {
                fs::remove(folder / f, ignored);
            }
            fs::remove(folder, ignored);
        };
        clean();
        std::string status;
        Child setup;
        if (c.msi) {
            ASSERT_TRUE(setup.start_command_line(
                msiexec(), "msiexec /qn /i \"" + msi + "\" INSTALLDIR=\"" + c.asked + "\""));
            if (finished([&] { return !setup.running(); }, what)) status = std::to_string(setup.wait(0));
        } else {
            ASSERT_TRUE(setup.start_command_line(nsis, "\"" + nsis + "\" /S /D=" + c.asked));
            if (finished([&] { return fs::exists(folder / "exit-status.txt"); }, what)) {
                setup.wait(10000);
                status = read_all(c.installed + "\\exit-status.txt");
            }
        }
        const std::string listed = c.msi ? (dir.back() == '\\' ? dir : dir + "\\") + "." : dir;
        if (refused_for_its_comma(dir, base)) {  // an MSI install fails whole
            EXPECT_EQ(status, c.msi ? "1603" : "1") << what;
            EXPECT_FALSE(fs::exists(folder / "glyphroots")) << what;
        } else {
            EXPECT_EQ(status, "0") << what;
            EXPECT_EQ(read_all(c.installed + "\\glyphroots"), expected_list(listed)) << what;
        }
        Child removal;
        if (c.msi && removal.start_command_line(msiexec(), "msiexec /qn /x \"" + msi + "\"")) {
            removal.wait(30000);
        }
        clean();
    }
    fs::remove_all(widen(base));
}

TEST(GlyphrootsProgram, RunByTheNsisInstaller) { run_by_installer(false); }
TEST(GlyphrootsProgram, RunByTheMsiPackage) { run_by_installer(true); }

}  // namespace

int main(int argc, char** argv) {
    return run_tests_on_programs(argc, argv, {&program, &nsis, &msi},
                                 "e2e_glyphroots PATH-OF-GLYPHROOTS NSIS-INSTALLER|none MSI-PACKAGE|none");
}
