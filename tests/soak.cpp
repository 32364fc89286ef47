// Soak test: a writer appends random chunks to a followed log, pausing
// shorter and longer than a poll, and two to four times, in turns, rewrites
// it from the start, shorter, as long or longer, or rotates it: renames it
// aside and writes a new log under its name. What follow prints must be
// exactly the log's tail, every byte appended, and after each rewrite or
// rotation the new log from its start: no byte lost, none shown twice.
// Usage: soak PATH-OF-FOLLOW SECONDS [SEED]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "last_lines.h"
#include "process.h"
#include "program_args.h"
#include "temp_file.h"

namespace {

using Clock = std::chrono::steady_clock;

// Chunks of every kind: text lines, CR LF lines, raw bytes of any value,
// and text with no line feed at all; 1 byte to 64 KiB, mostly small.
std::string random_chunk(std::mt19937_64& rng) {
    std::size_t size = std::size_t(1) << (rng() % 17);
    size = 1 + rng() % size;
    std::string chunk(size, '\0');
    switch (rng() % 4) {
    case 0:
        for (char& c : chunk) c = rng() % 40 == 0 ? '\n' : static_cast<char>('a' + rng() % 26);
        break;
    case 1:
        for (std::size_t i = 0; i < size; ++i) {
            chunk[i] = rng() % 30 == 0 && i + 1 < size ? '\r' : static_cast<char>(' ' + rng() % 90);
            if (chunk[i] == '\r') chunk[++i] = '\n';
        }
        break;
    case 2:
        for (char& c : chunk) c = static_cast<char>(rng());
        break;
    default:
        for (char& c : chunk) c = static_cast<char>('A' + rng() % 26);
    }
    return chunk;
}

// A new log in place of old, written within one poll: shorter, as long,
// or longer. One that is not shorter begins otherwise, which is all that
// can tell it from growth.
std::string rewritten_log(std::mt19937_64& rng, const std::string& old) {
    std::string fresh = random_chunk(rng);
    switch (rng() % 3) {
    case 0:
        return fresh.substr(0, old.size() - 1);
    case 1:
        fresh.resize(old.size(), 'r');
        break;
    default:
        while (fresh.size() <= old.size()) fresh += random_chunk(rng);
    }
    if (fresh[0] == old[0]) fresh[0] = static_cast<char>(~old[0]);
    return fresh;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

void report_difference(const std::string& got, const std::string& expected) {
    std::size_t i = 0;
    while (i < got.size() && i < expected.size() && got[i] == expected[i]) ++i;
    std::fprintf(stderr, "soak: output differs at byte %zu: got %zu bytes, expected %zu\n", i,
                 got.size(), expected.size());
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = utf8_arguments(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: soak PATH-OF-FOLLOW SECONDS [SEED]\n");
        return 2;
    }
    const int seconds = std::atoi(argv[2]);
    const unsigned long long seed =
        argc > 3 ? std::strtoull(argv[3], nullptr, 10)
                 : static_cast<unsigned long long>(Clock::now().time_since_epoch().count());
    std::printf("soak seed: %llu (replay: soak PROGRAM %d %llu)\n", seed, seconds, seed);
    std::fflush(stdout);
    std::mt19937_64 rng(seed);

    std::string log_bytes;
    for (int i = 0; i < 40; ++i) log_bytes += random_chunk(rng);
    TempFile log(log_bytes);
    std::string expected = last_ten_lines(log_bytes);

    Child follow;
    if (!follow.start({program_path(args[1]), log.path()})) {
        std::fprintf(stderr, "soak: cannot start %s\n", args[1].c_str());
        return 1;
    }
    // Whether follow has shown all that is expected, exactly, by then.
    auto caught_up = [&](int timeout_ms) {
        return follow.read_at_least(expected.size(), timeout_ms) == expected;
    };
    // Appending before the tail is shown would move the tail.
    if (!caught_up(15000)) {
        report_difference(follow.output(), expected);
        std::printf("0 passed, 1 failed\nsoak: FAILED with seed %llu\n", seed);
        return 1;
    }
    const std::string truncated = "follow: " + log.path() + ": file truncated";
    const std::string replaced = "follow: " + log.path() + ": file replaced";
    const std::string aside = log.path() + ".old";
    // Nothing more until the follower has told the change, so that each is
    // told once: two within one poll would lose the middle log.
    auto wait_for_event = [&](const std::string& event, int times) {
        auto deadline = Clock::now() + std::chrono::seconds(15);
        while (count(follow.errors(), event) < static_cast<std::size_t>(times) &&
               Clock::now() < deadline) {
            follow.pump_for(20);
        }
    };
    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    // Rewrites and rotations take turns, so that each run has both.
    const int changes = 2 + static_cast<int>(rng() % 3);
    const int first_kind = static_cast<int>(rng() % 2);
    int rewrites = 0, rotations = 0;
    std::size_t appended = 0, chunks = 0;

    while (Clock::now() < end) {
        auto elapsed = Clock::now() - start;
        bool change_due = rewrites + rotations < changes &&
                          elapsed > (end - start) * (rewrites + rotations + 1) / (changes + 2);
        if (change_due && (rewrites + rotations + first_kind) % 2 == 0) {
            // The old run's last words, not shown yet, come before the new
            // log.
            const std::string last = random_chunk(rng);
            log.append(last);
            expected += last;
            std::error_code error;
            std::filesystem::rename(log.path(), aside, error);
            if (error) {
                std::fprintf(stderr, "soak: cannot rename the log: %s\n", error.message().c_str());
                return 1;
            }
            log_bytes = random_chunk(rng);
            log.rewrite(log_bytes);
            expected += log_bytes;
            wait_for_event(replaced, ++rotations);
            continue;
        }
        if (change_due && !log_bytes.empty()) {
            // The follower must be at the end before the log is rewritten,
            // so that the rewrite is what it finds at its next poll.
            if (!caught_up(15000)) break;
            const std::string fresh = rewritten_log(rng, log_bytes);
            log.rewrite(fresh);
            log_bytes = fresh;
            expected += fresh;
            wait_for_event(truncated, ++rewrites);
            continue;
        }
        std::string chunk = random_chunk(rng);
        log.append(chunk);
        log_bytes += chunk;
        expected += chunk;
        appended += chunk.size();
        ++chunks;
        switch (rng() % 8) {
        case 0:
            follow.pump_for(1000 + static_cast<int>(rng() % 700));  // longer than a poll
            break;
        case 1:
        case 2:
            follow.pump_for(static_cast<int>(rng() % 300));
            break;
        default:
            follow.pump_for(1);
        }
    }

    bool same = caught_up(20000);
    bool running = follow.running();
    follow.stop();
    std::string errors = follow.error_text();
    std::error_code ignored;
    std::filesystem::remove(aside, ignored);
    std::printf("soak: %zu chunks, %zu bytes appended, %d rewrites, %d rotations, %zu bytes shown\n",
                chunks, appended, rewrites, rotations, follow.output().size());
    bool ok = true;
    if (!same) {
        report_difference(follow.output(), expected);
        ok = false;
    }
    if (count(errors, truncated) != static_cast<std::size_t>(rewrites) ||
        count(errors, replaced) != static_cast<std::size_t>(rotations)) {
        std::fprintf(stderr, "soak: %zu truncation and %zu replacement events for %d rewrites and %d rotations\n",
                     count(errors, truncated), count(errors, replaced), rewrites, rotations);
        ok = false;
    }
    if (!running) {
        std::fprintf(stderr, "soak: follow ended by itself\n");
        ok = false;
    }
    std::printf(ok ? "1 passed, 0 failed\n" : "0 passed, 1 failed\n");
    if (!ok) std::printf("soak: FAILED with seed %llu\n", seed);
    return ok ? 0 : 1;
}
