#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "fake.h"
#include "follow.h"
#include "last_lines.h"
#include "memory_log.h"
#include "temp_file.h"

namespace {

std::string lines(int first, int last) {
    std::string text;
    for (int i = first; i <= last; ++i) text += "line " + std::to_string(i) + "\n";
    return text;
}

struct Scans {
    os::offset found, backward, forward;
    // Backward from a size the file no longer has: it shrank under the scan.
    os::offset shrunk;
};

Scans scan(const std::string& bytes) {
    TempFile file(bytes);
    std::FILE* f = std::fopen(file.path().c_str(), "rb");
    Scans s{};
    s.found = find_tail_start(f);
    s.backward = scan_tail_backward(f, static_cast<os::offset>(bytes.size()));
    s.shrunk = scan_tail_backward(f, static_cast<os::offset>(bytes.size()) + 100);
    std::rewind(f);
    s.forward = scan_tail_forward(f);
    std::fclose(f);
    return s;
}

TEST(TailStart, LastTenLines) {
    const std::string long_line(3 * BLOCK_SIZE + 17, 'L');
    struct Case {
        const char* name;
        std::string bytes;
        std::string shown;
    } cases[] = {
        {"empty", "", ""},
        {"one unterminated", "partial", "partial"},
        {"10 lines", lines(1, 10), lines(1, 10)},
        {"11 lines", lines(1, 11), lines(2, 11)},
        {"25 lines", lines(1, 25), lines(16, 25)},
        {"unterminated last", lines(1, 12) + "tail", lines(3, 12) + "tail"},
        {"CR kept", "a\r\n" + lines(1, 10) + "b\r\n", lines(2, 10) + "b\r\n"},
        {"only line feeds", std::string(30, '\n'), std::string(10, '\n')},
        // The scan's last block is the first byte alone.
        {"the first byte the 11th line feed, a block before the end",
         "\n" + std::string(BLOCK_SIZE - 10, 'x') + std::string(10, '\n'),
         std::string(BLOCK_SIZE - 10, 'x') + std::string(10, '\n')},
        {"lines longer than a block",
         long_line + "\n" + lines(1, 9) + long_line + "\n" + long_line,
         lines(1, 9) + long_line + "\n" + long_line},
    };
    for (const Case& c : cases) {
        Scans s = scan(c.bytes);
        os::offset expected = static_cast<os::offset>(c.bytes.size() - c.shown.size());
        EXPECT_EQ(c.bytes.substr(static_cast<std::size_t>(expected)), c.shown) << c.name;
        EXPECT_EQ(s.found, expected) << c.name;
        EXPECT_EQ(s.backward, expected) << c.name;
        EXPECT_EQ(s.forward, expected) << c.name;
        EXPECT_EQ(s.shrunk, expected) << c.name;
    }
}

TEST(TailStart, ScansAgreeOnGeneratedFiles) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 200; ++round) {
        // Sizes around the block edges, line feeds from dense to rare.
        std::size_t size = rng() % (3 * BLOCK_SIZE);
        if (round % 4 == 0) size = BLOCK_SIZE + (rng() % 40) - 20;
        unsigned density = 1 + rng() % (round % 2 ? 8 : 40000);
        std::string bytes(size, 'x');
        for (char& b : bytes) {
            unsigned r = rng();
            b = r % density == 0 ? '\n' : static_cast<char>(r >> 8);
        }
        Scans s = scan(bytes);
        os::offset expected = static_cast<os::offset>(size - last_ten_lines(bytes).size());
        ASSERT_EQ(s.backward, expected) << "round " << round;
        ASSERT_EQ(s.forward, expected) << "round " << round;
        ASSERT_EQ(s.found, expected) << "round " << round;
    }
}

#ifdef __GLIBC__
// The tail of a large log of known size is found by reading its end alone:
// a log of gigabytes is not read whole to show ten lines.
TEST(TailStart, ALargeLogIsReadOnlyAtItsEnd) {
    reset_fake();
    MemoryLog log;
    for (int i = 0; log.bytes.size() < 40 * BLOCK_SIZE; ++i) log.bytes += std::to_string(i) + "\n";
    std::FILE* stream = log.open();
    const os::offset start = scan_tail_backward(stream, static_cast<os::offset>(log.bytes.size()));
    EXPECT_EQ(log.bytes.substr(static_cast<std::size_t>(start)), last_ten_lines(log.bytes));
    EXPECT_LE(log.bytes_read, 2 * BLOCK_SIZE);
    std::fclose(stream);
}
#endif

// /proc reports a size of 0 whatever it holds, here and under Wine, which
// reaches it as Z:\proc. Its tail is found all the same, and shown once.
TEST(TailStart, FilesThatReportNoSize) {
    std::FILE* log = std::fopen("/proc/filesystems", "rb");
    if (!log) GTEST_SKIP() << "no /proc here";
    const std::string bytes = read_all(log);
    std::rewind(log);
    ASSERT_EQ(os::fsize64(log), 0);
    reset_fake();
    const os::offset start = find_tail_start(log);
    EXPECT_EQ(bytes.substr(static_cast<std::size_t>(start)), last_ten_lines(bytes));
    Shown shown;
    shown.position = start;
    std::FILE* out = std::tmpfile();
    for (int poll = 0; poll < 3; ++poll) {
        ASSERT_EQ(follow_pass(log, shown, "/proc/filesystems", out), Pass::FOLLOWING);
    }
    EXPECT_EQ(read_all(out), bytes.substr(static_cast<std::size_t>(start)));
    EXPECT_EQ(fake().stderr_text, "");
    std::fclose(out);
    std::fclose(log);
}

// Past 4 GiB, so neither a signed nor an unsigned 32-bit position copes.
TEST(TailStart, LogsBeyondFourGiB) {
    const os::offset beyond = (os::offset(5) << 30) + 3;
    TempFile file;
    std::FILE* w = std::fopen(file.path().c_str(), "r+b");
    if (!make_sparse(w)) {
        std::fclose(w);
        GTEST_SKIP() << "this file system cannot hold a sparse file";
    }
    ASSERT_EQ(os::fseek64(w, beyond), 0);
    std::string text = lines(1, 12);
    std::fwrite(text.data(), 1, text.size(), w);
    std::fclose(w);

    std::FILE* log = std::fopen(file.path().c_str(), "rb");
    ASSERT_EQ(os::fsize64(log), beyond + static_cast<os::offset>(text.size()));
    os::offset start = find_tail_start(log);
    EXPECT_EQ(start, beyond + static_cast<os::offset>(lines(1, 2).size()));

    reset_fake();
    std::FILE* out = std::tmpfile();
    Shown shown;
    shown.position = start;
    ASSERT_EQ(follow_pass(log, shown, file.path().c_str(), out), Pass::FOLLOWING);
    file.append("line 13\n");
    ASSERT_EQ(follow_pass(log, shown, file.path().c_str(), out), Pass::FOLLOWING);
    EXPECT_EQ(read_all(out), lines(3, 13));
    EXPECT_EQ(fake().stderr_text, "");
    std::fclose(out);
    std::fclose(log);
}

}  // namespace
