// The message boxes of both built programs, for real under Wine: found by
// caption, read from their static control, dismissed with OK.
// Arguments: the paths of follow.exe and glyphroots.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "expected_texts.h"
#include "program_args.h"
#include "temp_file.h"
#include "start_win32.h"
#include "told_paths.h"
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
            const char* directory = nullptr, const wchar_t* desktop = nullptr) {
        std::wstring line = widen("\"" + exe + "\"" + args);
        std::wstring title = widen(console_title);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.lpTitle = title.data();
        si.lpDesktop = const_cast<wchar_t*>(desktop);
        ok = start_patiently(exe, [&] {
            std::wstring attempt = line;
            return CreateProcessW(nullptr, attempt.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                                  nullptr, directory ? widen(directory).c_str() : nullptr, &si, &pi);
        });
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

// The box for a log that cannot be opened, for each row of what the user
// is told that the real box shows. Another window titled follow, in any
// case, is not taken for follow's console: it stays shown. Topmost, it is
// the first a look-up by title meets.
TEST(Boxes, FollowOnAMissingLog) {
    for (const ToldPath& c : told_paths()) {
        if (!c.real) continue;
        SetEnvironmentVariableA("DISPLAY", c.display ? c.display->c_str() : nullptr);
        HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "FOLLOW", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        const std::string title = u8"Ostrel 日志 Łódź";
        Started follow(follow_exe, " \"" + c.args[0] + "\"", title);
        ASSERT_TRUE(follow.ok);

        HWND box = wait_for_window("follow.exe error", 15000);
        ASSERT_NE(box, nullptr) << "no box";
        EXPECT_EQ(box_text(box), "Can't open file...\n" + c.in_box + "\n\nDISPLAY " + c.display_line);
        // The console has its title back, and its window is hidden.
        HWND console = FindWindowW(nullptr, widen(title).c_str());
        ASSERT_NE(console, nullptr);
        EXPECT_FALSE(IsWindowVisible(console));
        EXPECT_TRUE(IsWindowVisible(other));
        DestroyWindow(other);

        // Share the console, so that it outlives follow and can be looked at.
        FreeConsole();
        ASSERT_TRUE(AttachConsole(follow.pi.dwProcessId));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(exit_code(follow.pi.hProcess), 1u);
        EXPECT_TRUE(IsWindowVisible(console));
        EXPECT_EQ(console_title(), title);
        FreeConsole();
    }
}

TEST(Boxes, GlyphrootsUsage) {
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

// A program started with its console a pseudoconsole, as Windows Terminal
// starts its tabs' programs; nobody reads the pseudoconsole, into which
// follow writes nothing when it shows its box.
struct InPseudoConsole {
    using Create = HRESULT(WINAPI*)(COORD, HANDLE, HANDLE, DWORD, void**);
    using Close = void(WINAPI*)(void*);
    Create create = reinterpret_cast<Create>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreatePseudoConsole"));
    Close close = reinterpret_cast<Close>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "ClosePseudoConsole"));
    HANDLE pipes[4] = {};  // input's ends, then output's
    void* console = nullptr;
    std::vector<char> attributes;
    PROCESS_INFORMATION pi{};
    bool ok = false;

    explicit InPseudoConsole(const std::string& command_line) {
        if (!create || !close || !CreatePipe(&pipes[0], &pipes[1], nullptr, 0) ||
            !CreatePipe(&pipes[2], &pipes[3], nullptr, 1 << 16) ||
            create({80, 25}, pipes[0], pipes[3], 0, &console) != S_OK) {
            return;
        }
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        attributes.resize(size);
        auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
        InitializeProcThreadAttributeList(list, 1, 0, &size);
        UpdateProcThreadAttribute(list, 0, 0x00020016 /* PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE */,
                                  console, sizeof console, nullptr, nullptr);
        STARTUPINFOEXW si{};
        si.StartupInfo.cb = sizeof si;
        si.lpAttributeList = list;
        std::wstring line = widen(command_line);
        ok = start_patiently(command_line, [&] {
            std::wstring attempt = line;
            return CreateProcessW(nullptr, attempt.data(), nullptr, nullptr, FALSE,
                                  EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &si.StartupInfo, &pi);
        });
    }
    ~InPseudoConsole() {
        if (ok) TerminateProcess(pi.hProcess, 9);
        if (!attributes.empty()) {
            DeleteProcThreadAttributeList(reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data()));
        }
        if (console) close(console);
        for (HANDLE h : {pi.hThread, pi.hProcess, pipes[0], pipes[1], pipes[2], pipes[3]}) {
            if (h) CloseHandle(h);
        }
    }
};

// Under a pseudoconsole the console's window is never shown, and its title
// goes to the terminal's window, which holds every tab: follow shows its
// box on its own and hides nothing. Wine's pseudoconsole is another kind.
TEST(Boxes, FollowUnderAPseudoConsoleShowsTheBoxAlone) {
    if (running_under_wine()) GTEST_SKIP() << "skipped: Wine has no PseudoConsoleWindow";
    SetEnvironmentVariableA("DISPLAY", nullptr);
    InPseudoConsole follow("\"" + follow_exe + "\" \"" + missing_log() + "\"");
    if (!follow.create) GTEST_SKIP() << "skipped: this Windows has no pseudoconsoles";
    ASSERT_TRUE(follow.ok);
    HWND box = wait_for_window("follow.exe error", 15000);
    ASSERT_NE(box, nullptr) << "no box: the failure went to the pseudoconsole";
    EXPECT_EQ(box_text(box), "Can't open file...\n" + missing_log() + "\n\nDISPLAY \"not set\"");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(exit_code(follow.pi.hProcess), 1u);
}

// An installer's action run as LocalSystem runs in a window station nobody
// sees: glyphroots refuses a directory there with 1 at once, and shows no
// box that would hold the install for ever.
TEST(Boxes, GlyphrootsShowsNoBoxWhereNobodySeesIt) {
    HWINSTA own = GetProcessWindowStation();
    HWINSTA unseen = CreateWindowStationW(L"ostrel-unseen", 0, WINSTA_ALL_ACCESS, nullptr);
    if (!unseen) GTEST_SKIP() << "skipped: no window station of our own here";
    HDESK desktop = nullptr;
    if (SetProcessWindowStation(unseen)) {
        desktop = CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        SetProcessWindowStation(own);
    }
    ASSERT_NE(desktop, nullptr);
    {
        Started glyphroots(glyphroots_exe, " C:Ostrel", "installer", nullptr, L"ostrel-unseen\\Default");
        ASSERT_TRUE(glyphroots.ok);
        EXPECT_EQ(WaitForSingleObject(glyphroots.pi.hProcess, 10000), WAIT_OBJECT_0) << "a box nobody dismisses";
        EXPECT_EQ(exit_code(glyphroots.pi.hProcess), 1u);
    }
    CloseDesktop(desktop);
    CloseWindowStation(unseen);
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
