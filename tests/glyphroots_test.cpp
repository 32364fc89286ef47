#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "expected_texts.h"
#include "fake.h"
#include "glyphroots.h"
#include "program_args.h"
#include "temp_file.h"

namespace fs = std::filesystem;

namespace {

// What the standard library writes for a line feed in a text-mode stream.
const std::string NL = fs::path::preferred_separator == '\\' ? "\r\n" : "\n";

TEST(InstallDir, DriveLetterColonBackslash) {
    struct Case {
        const char* arg;
        bool accepted;
    } cases[] = {
        {"C:\\", true},
        {"d:\\some\\dir", true},
        {"C:\\Program Files\\Ostrel", true},
        {"z:\\", true},
        {nullptr, false},
        {"", false},
        {"C:/Ostrel", false},
        {"C:Ostrel", false},
        {"C:", false},
        {"C", false},
        {"Ostrel\\fonts", false},
        {"..\\Ostrel", false},
        {"\\\\server\\share", false},
        {"1:\\Ostrel", false},
        {"\xC4:\\Ostrel", false},
        {"@:\\", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(check_install_dir(c.arg), c.accepted) << (c.arg ? c.arg : "(none)");
    }
}

int run(std::vector<std::string> args) {
    Argv argv("glyphroots.exe", std::move(args));
    return glyphroots_main(argv.count(), argv.get());
}

// In a window station nobody sees, an installer's action run as LocalSystem,
// a box would never be dismissed: the status alone tells, at once.
TEST(Usage, BadArgumentsGetTheUsageAndStatusOne) {
    const std::vector<std::vector<std::string>> bad = {{}, {""}, {"C:Ostrel"}, {"/opt/ostrel", "C:\\"}};
    for (const auto& args : bad) {
        // A station nobody sees, and session 0, whose station says it is seen.
        for (bool services_session : {false, true}) {
            reset_fake();
            fake().window_station_visible = services_session;
            fake().services_session = services_session;
            EXPECT_EQ(run(args), 1);
            EXPECT_TRUE(fake().boxes.empty());
        }
        reset_fake();
        EXPECT_EQ(run(args), 1);
        ASSERT_EQ(fake().boxes.size(), 1u);
        const Fake::Box& box = fake().boxes[0];
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.caption, "glyphroots.exe error");
        EXPECT_EQ(box.style, 0x30u);
        EXPECT_EQ(box.text, GLYPHROOTS_USAGE);
        EXPECT_TRUE(box.controls_ready);
        EXPECT_FALSE(fake().asked_before_controls);
    }
}

// An install directory for the tests: a real folder that the program can
// reach through a drive-letter path on Windows; natively the program's
// own "\\glyphroots" suffix makes the file a sibling named dir\glyphroots.
class Installation : public ::testing::Test {
protected:
    fs::path folder;
    std::string dir;
    std::string list;

    void SetUp() override {
        reset_fake();
        folder = scratch_path("install");
        fs::create_directories(folder);
        dir = (folder / "Ostrel").string();
        fs::create_directory(dir);
        list = dir + "\\glyphroots";
    }
    void TearDown() override { fs::remove_all(folder); }
    int create() { return ensure_font_path_list(dir.c_str()); }
    std::vector<std::string> entries() {  // everything in folder, recursively
        std::vector<std::string> found;
        for (auto& e : fs::recursive_directory_iterator(folder)) found.push_back(e.path().string());
        return found;
    }
};

// What the installation holds after a run, for each install directory,
// WINDIR, short names and list already there. The list's entries are
// separated by commas: a directory whose name holds one is named by its
// short name, and with none to be had nothing is written. Any other
// directory is named as it was given, a trailing backslash doubled and not
// normalised. A list that can be read is left as it is. A list whose path
// would be cut, or that cannot be created, is not written, and nothing else
// is created either.
TEST_F(Installation, WhatTheInstallationHoldsAfterARun) {
    const std::string comma = (folder / "Ostrel, Inc").string(), W = "C:\\WINDOWS";
    const std::string windir_comma = "C:\\Win,dows", absent = (folder / "absent" / "Ostrel").string();
    // 248 characters is the longest install directory; one more and the
    // list's path would need 260.
    const std::string fits = dir + "\\" + std::string(248 - dir.size() - 1, 'f'), too_long = fits + "g";
    ASSERT_EQ(fits.size(), 248u);
    for (const std::string& made : {comma, fits, too_long}) fs::create_directory(made);
    const auto L = [](const std::string& install, const std::string& windows) {
        return std::optional<std::string>(font_path_list(install, windows, NL));
    };
    const std::optional<std::string> none;
    struct Case {
        std::string dir;
        const char* windir;  // nullptr: not set
        std::map<std::string, std::string> short_names;
        std::optional<std::string> before;  // the list already there
        int status;
        std::optional<std::string> after;
    } cases[] = {
        {dir, W.c_str(), {{dir, "C:\\OSTREL~1"}}, none, 0, L(dir, W)},
        {dir, nullptr, {}, none, 0, L(dir, "C:\\Windows")},
        {dir, "", {}, none, 0, L(dir, "")},
        {comma, W.c_str(), {{comma, "C:\\OSTR~2QU"}}, none, 0, L("C:\\OSTR~2QU", W)},
        {comma, W.c_str(), {}, none, 1, none},
        {comma, W.c_str(), {{comma, "C:\\A,B~1"}}, none, 1, none},
        {comma, W.c_str(), {{comma, std::string(300, 'S')}}, none, 1, none},
        {dir, windir_comma.c_str(), {{windir_comma, "C:\\WIN~1"}}, none, 0, L(dir, "C:\\WIN~1")},
        {dir, windir_comma.c_str(), {}, none, 1, none},
        {dir + "\\", W.c_str(), {}, none, 0, L(dir + "\\", W)},
        {dir, W.c_str(), {}, "", 0, ""},
        {dir, W.c_str(), {}, "C:\\mine\\fonts\n", 0, "C:\\mine\\fonts\n"},
        {dir, W.c_str(), {}, "no line feed", 0, "no line feed"},
        {dir, "D:\\Other", {}, L(dir, W), 0, L(dir, W)},  // a second run
        {absent, W.c_str(), {}, none, 1, none},
        {fits, W.c_str(), {}, none, 0, L(fits, W)},
        {too_long, W.c_str(), {}, none, 1, none},
    };
    for (const Case& c : cases) {
        reset_fake();
        if (c.windir) fake().env["WINDIR"] = c.windir;
        fake().short_names = c.short_names;
        const std::string path = c.dir + "\\glyphroots";
        if (c.before) write_bytes(path, *c.before);
        const auto before = entries();
        EXPECT_EQ(ensure_font_path_list(c.dir.c_str()), c.status) << c.dir;
        EXPECT_EQ(fs::exists(path) ? std::optional<std::string>(read_all(path)) : none, c.after) << c.dir;
        if (!c.after) EXPECT_EQ(entries(), before) << c.dir;
        EXPECT_TRUE(fake().boxes.empty());
        fs::remove(path);
    }
}

// The server's side: comments skipped, entries split on commas and lines.
std::vector<std::string> read_font_dirs(const std::string& text) {
    std::vector<std::string> dirs;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream entries(line);
        std::string entry;
        while (std::getline(entries, entry, ',')) dirs.push_back(entry);
    }
    return dirs;
}

TEST_F(Installation, ServerReadsBackTheThreeDirectories) {
    fake().env["WINDIR"] = "C:\\WINDOWS";
    ASSERT_EQ(create(), 0);
    EXPECT_EQ(read_font_dirs(read_all(list)),
              (std::vector<std::string>{dir + "\\fonts\\dejavu", dir + "\\fonts\\cyrillic",
                                        "C:\\WINDOWS\\Fonts"}));
}

// A directory the code page changed names another folder: nothing is
// written, and no box stops the install. Natively the drive-letter
// path is a name in the current directory, here folder.
TEST_F(Installation, ArgumentTheCodePageChangedIsRefused) {
    fake().best_fitted_argument = 1;
    const bool drive_letters = fs::path::preferred_separator == '\\';
    const fs::path here = fs::current_path();
    fs::current_path(folder);
    const int status = run({drive_letters ? dir : "C:\\Ostrel"});
    fs::current_path(here);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(entries(), std::vector<std::string>{(folder / "Ostrel").string()});
    EXPECT_TRUE(fake().boxes.empty());
}

TEST_F(Installation, FailedWriteLeavesNoList) {
    // A stream opened for reading cannot be written to; depending on the
    // runtime the write itself or the flush on close fails.
    write_bytes(list, "");
    std::FILE* read_only = std::fopen(list.c_str(), "rt");
    EXPECT_EQ(finish_font_path_list(read_only, list.c_str(), dir.c_str(), "C:\\W"), 1);
    EXPECT_FALSE(fs::exists(list));
}

#ifndef _WIN32
TEST_F(Installation, FailedFlushOnCloseLeavesNoList) {
    // Writes to /dev/full are taken into the buffer and fail on close.
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    TempFile created("");
    EXPECT_EQ(finish_font_path_list(full, created.path().c_str(), dir.c_str(), "C:\\W"), 1);
    EXPECT_FALSE(fs::exists(created.path()));
}
#endif

}  // namespace
