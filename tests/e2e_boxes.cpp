// The message boxes of both built programs, for real under Wine: found by
// caption, read from their static control, dismissed with OK.
// Arguments: the paths of follow.exe and glyphroots.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "expected_texts.h"
#include "program_args.h"
#include "temp_file.h"
#include "wide_win32.h"

namespace fs = std::filesystem;

namespace {

std::string follow_exe, glyphroots_exe;

HWND wait_for_window(const char* title, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 25) {
        if (HWND w = FindWindowA(nullptr, title)) return w;
        Sleep(25);
    }
    return nullptr;
}

// In UTF-8, whatever the code page.
std::string box_text(HWND box) {
    wchar_t text[1024] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    return to_code_page(text, CP_UTF8);
}

std::string console_title() {
    wchar_t title[1024] = L"";
    GetConsoleTitleW(title, 1024);
    return to_code_page(title, CP_UTF8);
}

DWORD exit_code(HANDLE process) {
    WaitForSingleObject(process, 20000);
    DWORD code = 999;
    GetExitCodeProcess(process, &code);
    return code;
}

// A program started the way a user starts it: in a console of its own.
// Everything is given in UTF-8.
struct Started {
    PROCESS_INFORMATION pi{};
    bool ok = false;
    Started(const std::string& exe, const std::string& args, const std::string& console_title,
            const char* directory = nullptr) {
        std::wstring line = widen("\"" + exe + "\"" + args);
        std::wstring title = widen(console_title);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.lpTitle = title.data();
        ok = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                            nullptr, directory ? widen(directory).c_str() : nullptr, &si, &pi);
    }
    ~Started() {
        if (!ok) return;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 9);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
};

// Neither the code page nor the console's code page holds these.
const std::string& missing_log() {
    static const std::string path = scratch_path("absent") + u8" Łódź\\Ostrel.0.log";
    return path;
}

// The box for a log that cannot be opened shows shown of its path.
void follow_box_case(const char* display, const std::string& last_line,
                     const std::string& missing = missing_log(),
                     const std::string& shown = missing_log()) {
    SetEnvironmentVariableA("DISPLAY", display);
    const std::string title = u8"Ostrel 日志 Łódź";
    Started follow(follow_exe, " \"" + missing + "\"", title);
    ASSERT_TRUE(follow.ok);

    HWND box = wait_for_window("follow.exe error", 15000);
    ASSERT_NE(box, nullptr) << "no box";
    EXPECT_EQ(box_text(box), "Can't open file...\n" + shown + "\n\n" + last_line);
    // The console has its title back, and its window is hidden.
    HWND console = FindWindowW(nullptr, widen(title).c_str());
    ASSERT_NE(console, nullptr);
    EXPECT_FALSE(IsWindowVisible(console));

    // Share the console, so that it outlives follow and can be looked at.
    FreeConsole();
    ASSERT_TRUE(AttachConsole(follow.pi.dwProcessId));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(exit_code(follow.pi.hProcess), 1u);
    EXPECT_TRUE(IsWindowVisible(console));
    EXPECT_EQ(console_title(), title);
    FreeConsole();
}

TEST(Boxes, FollowOnAMissingLogWithDisplayUnset) { follow_box_case(nullptr, "DISPLAY \"not set\""); }

TEST(Boxes, FollowOnAMissingLogWithDisplaySet) {
    follow_box_case("localhost:9.0", "DISPLAY \"localhost:9.0\"");
    follow_box_case("", "DISPLAY \"\"");
}

// A path too long for the box beside DISPLAY is cut between characters and
// marked; the DISPLAY line stays whole.
TEST(Boxes, FollowCutsALongPathNotTheDisplayLine) {
    std::string long_path = "C:\\", e_acute;
    while (long_path.size() < 260) long_path += 'a';
    for (int i = 0; i < 200; ++i) e_acute += u8"é";
    const char* display = "localhost:10.0";
    follow_box_case(display, "DISPLAY \"localhost:10.0\"", long_path, long_path.substr(0, 250) + "...");
    follow_box_case(display, "DISPLAY \"localhost:10.0\"", "C:\\" + e_acute,
                    "C:\\" + e_acute.substr(0, 246) + "...");
}

TEST(Boxes, GlyphrootsUsageNotice) {
    fs::path cwd = fs::u8path(scratch_path("glyphroots-cwd"));
    fs::create_directories(cwd);
    // "C:\" arrives as C:" : backslash-quote is an escaped quote.
    for (const char* args : {"", " \"\"", " C:Ostrel", " \"C:\\\""}) {
        Started glyphroots(glyphroots_exe, args, "installer", cwd.u8string().c_str());
        ASSERT_TRUE(glyphroots.ok);
        HWND box = wait_for_window("glyphroots.exe error", 15000);
        ASSERT_NE(box, nullptr) << "args [" << args << "]";
        EXPECT_EQ(box_text(box), GLYPHROOTS_USAGE) << "args [" << args << "]";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(exit_code(glyphroots.pi.hProcess), 1u);
    }
    EXPECT_TRUE(fs::is_empty(cwd)) << "nothing written";
    fs::remove_all(cwd);
}

// Every prefix has Wine's own settings under this key; Windows has none.
TEST(WhereTestsRun, WineIsToldFromWindows) {
    HKEY key;
    const bool wine_key = RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine", 0, KEY_READ, &key) == 0;
    if (wine_key) RegCloseKey(key);
    EXPECT_EQ(running_under_wine(), wine_key);
}

}  // namespace

int main(int argc, char** argv) {
    return run_tests_on_programs(argc, argv, {&follow_exe, &glyphroots_exe},
                                 "e2e_boxes FOLLOW.EXE GLYPHROOTS.EXE");
}
