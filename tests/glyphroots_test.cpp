#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "expected_texts.h"
#include "fake_os.h"
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
TEST(Usage, BadArgumentsGetTheNoticeAndStatusOne) {
    const std::vector<std::vector<std::string>> bad = {{}, {""}, {"C:Ostrel"}, {"/opt/ostrel", "C:\\"}};
    for (const auto& args : bad) {
        // A station nobody sees, and session 0, whose station says it is seen.
        for (bool services_session : {false, true}) {
            reset_fake_os();
            fake_os().window_station_visible = services_session;
            fake_os().services_session = services_session;
            EXPECT_EQ(run(args), 1);
            EXPECT_TRUE(fake_os().boxes.empty());
        }
        reset_fake_os();
        EXPECT_EQ(run(args), 1);
        ASSERT_EQ(fake_os().boxes.size(), 1u);
        const FakeOs::Box& box = fake_os().boxes[0];
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.caption, "glyphroots.exe error");
        EXPECT_EQ(box.style, 0x30u);
        EXPECT_EQ(box.text, GLYPHROOTS_USAGE);
        EXPECT_EQ(fake_os().calls.front(), "InitCommonControls");
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
        reset_fake_os();
        folder = scratch_path("install");
        fs::create_directories(folder);
        dir = (folder / "Ostrel").string();
        fs::create_directory(dir);
        list = dir + "\\glyphroots";
    }
    void TearDown() override { fs::remove_all(folder); }
    int create() { return create_font_path_list(dir.c_str()); }
    std::vector<std::string> entries() {  // everything in folder, recursively
        std::vector<std::string> found;
        for (auto& e : fs::recursive_directory_iterator(folder)) found.push_back(e.path().string());
        return found;
    }
};

// The list's entries are separated by commas: a directory whose name holds
// one is named by its short name, and with none to be had nothing is
// written. Any other directory is named as it was given.
TEST_F(Installation, ListWrittenByteForByte) {
    const std::string comma = (folder / "Ostrel, Inc").string();
    fs::create_directory(comma);
    const std::string windir_comma = "C:\\Win,dows";
    struct Case {
        std::string dir;
        const char* windir;  // nullptr: not set
        std::map<std::string, std::string> short_names;
        std::string install_entry, windows_entry;  // no install entry: nothing written
    } cases[] = {
        {dir, "C:\\WINDOWS", {{dir, "C:\\OSTREL~1"}}, dir, "C:\\WINDOWS"},
        {dir, nullptr, {}, dir, "C:\\Windows"},
        {dir, "", {}, dir, ""},
        {comma, "C:\\WINDOWS", {{comma, "C:\\OSTR~2QU"}}, "C:\\OSTR~2QU", "C:\\WINDOWS"},
        {comma, "C:\\WINDOWS", {}, "", ""},
        {comma, "C:\\WINDOWS", {{comma, "C:\\A,B~1"}}, "", ""},
        {comma, "C:\\WINDOWS", {{comma, std::string(300, 'S')}}, "", ""},
        {dir, windir_comma.c_str(), {{windir_comma, "C:\\WIN~1"}}, dir, "C:\\WIN~1"},
        {dir, windir_comma.c_str(), {}, "", ""},
    };
    for (const Case& c : cases) {
        reset_fake_os();
        if (c.windir) fake_os().env["WINDIR"] = c.windir;
        fake_os().short_names = c.short_names;
        const std::string path = c.dir + "\\glyphroots";
        EXPECT_EQ(create_font_path_list(c.dir.c_str()), c.install_entry.empty() ? 1 : 0) << c.dir;
        EXPECT_EQ(fs::exists(path) ? read_all(path) : "", c.install_entry.empty() ? "" :
                  font_path_list(c.install_entry, c.windows_entry, NL)) << c.dir;
        fs::remove(path);
        EXPECT_TRUE(fake_os().boxes.empty());
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
    fake_os().env["WINDIR"] = "C:\\WINDOWS";
    ASSERT_EQ(create(), 0);
    EXPECT_EQ(read_font_dirs(read_all(list)),
              (std::vector<std::string>{dir + "\\fonts\\dejavu", dir + "\\fonts\\cyrillic",
                                        "C:\\WINDOWS\\Fonts"}));
}

TEST_F(Installation, TrailingBackslashIsDoubledNotNormalised) {
    dir += "\\";
    list = dir + "\\glyphroots";
    ASSERT_EQ(create(), 0);
    EXPECT_NE(read_all(list).find(dir + "\\fonts\\dejavu," + dir + "\\fonts\\cyrillic"),
              std::string::npos);
    fs::remove(list);
}

TEST_F(Installation, ExistingReadableListIsLeftAlone) {
    for (const std::string before : {"", "C:\\mine\\fonts\n", "no line feed"}) {
        write_bytes(list, before);
        EXPECT_EQ(create(), 0);
        EXPECT_EQ(read_all(list), before);
    }
}

TEST_F(Installation, SecondRunChangesNothing) {
    fake_os().env["WINDIR"] = "C:\\WINDOWS";
    ASSERT_EQ(create(), 0);
    const std::string first = read_all(list);
    fake_os().env["WINDIR"] = "D:\\Other";
    EXPECT_EQ(create(), 0);
    EXPECT_EQ(read_all(list), first);
}

// A directory the code page changed names another folder: nothing is
// written, and no notice stops the install. Natively the drive-letter
// path is a name in the current directory, here folder.
TEST_F(Installation, ArgumentTheCodePageChangedIsRefused) {
    fake_os().argument_exact = false;
    const bool drive_letters = fs::path::preferred_separator == '\\';
    const fs::path here = fs::current_path();
    fs::current_path(folder);
    const int status = run({drive_letters ? dir : "C:\\Ostrel"});
    fs::current_path(here);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(entries(), std::vector<std::string>{(folder / "Ostrel").string()});
    EXPECT_TRUE(fake_os().boxes.empty());
}

TEST_F(Installation, MissingDirectoryCreatesNothing) {
    dir = (folder / "absent" / "Ostrel").string();
    EXPECT_EQ(create(), 1);
    EXPECT_EQ(entries(), std::vector<std::string>{(folder / "Ostrel").string()});
    EXPECT_TRUE(fake_os().boxes.empty());
}

TEST_F(Installation, PathThatDoesNotFitCreatesNothing) {
    // 248 characters is the longest install directory; one more and the
    // list's path would need 260.
    const std::size_t room = 248 - dir.size() - 1;
    std::string fitting = dir + "\\" + std::string(room, 'f');
    fs::create_directory(fitting);
    ASSERT_EQ(fitting.size(), 248u);
    dir = fitting;
    EXPECT_EQ(create(), 0);
    fs::remove(dir + "\\glyphroots");

    std::string too_long = fitting + "g";
    fs::create_directory(too_long);
    dir = too_long;
    auto before = entries();
    EXPECT_EQ(create(), 1);
    EXPECT_EQ(entries(), before);
}

TEST_F(Installation, FailedWriteIsRemovedAndReported) {
    // A stream opened for reading cannot be written to; depending on the
    // runtime the write itself or the flush on close fails.
    write_bytes(list, "");
    std::FILE* read_only = std::fopen(list.c_str(), "rt");
    EXPECT_EQ(finish_font_path_list(read_only, list.c_str(), dir.c_str(), "C:\\W"), 1);
    EXPECT_FALSE(fs::exists(list));
}

#ifndef _WIN32
TEST_F(Installation, FailedFlushOnCloseIsRemovedAndReported) {
    // Writes to /dev/full are taken into the buffer and fail on close.
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    TempFile created("");
    EXPECT_EQ(finish_font_path_list(full, created.path().c_str(), dir.c_str(), "C:\\W"), 1);
    EXPECT_FALSE(fs::exists(created.path()));
}
#endif

}  // namespace
