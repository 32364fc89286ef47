// Soak test: a writer appends random chunks to a followed log, pausing
// shorter and longer than a poll, and rewrites it from the start once or
// twice, shorter, as long or longer; what follow prints must be exactly the
// log's tail, every byte appended, and after each rewrite the new log from
// its start.
// Usage: soak PATH-OF-FOLLOW SECONDS [SEED]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "process.h"
#include "program_args.h"
#include "reference_tail.h"
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
    std::string expected = log_bytes.substr(
        static_cast<std::size_t>(reference_tail_start(log_bytes.data(), log_bytes.size())));

    Child follow;
    if (!follow.start({program_path(argv[1]), log.path()})) {
        std::fprintf(stderr, "soak: cannot start %s\n", argv[1]);
        return 1;
    }
    // Whether follow has shown all that is expected, exactly, by then.
    auto caught_up = [&](int timeout_ms) {
        return follow.read_until(expected, timeout_ms) == expected;
    };
    // Appending before the tail is shown would move the tail.
    if (!caught_up(15000)) {
        report_difference(follow.output(), expected);
        std::printf("0 passed, 1 failed\nsoak: FAILED with seed %llu\n", seed);
        return 1;
    }
    const std::string notice = "follow: " + log.path() + ": file truncated";
    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    // One or two rewrites, somewhere in the middle of the run.
    const int rewrites = 1 + static_cast<int>(rng() % 2);
    int done_rewrites = 0;
    std::size_t appended = 0, chunks = 0;

    while (Clock::now() < end) {
        auto elapsed = Clock::now() - start;
        bool rewrite_due = done_rewrites < rewrites &&
                           elapsed > (end - start) * (done_rewrites + 1) / (rewrites + 2);
        if (rewrite_due && !log_bytes.empty()) {
            // The follower must be at the end before the log is rewritten,
            // so that the rewrite is what it finds at its next poll.
            if (!caught_up(15000)) break;
            const std::string fresh = rewritten_log(rng, log_bytes);
            log.rewrite(fresh);
            log_bytes = fresh;
            expected += fresh;
            ++done_rewrites;
            // Nothing more until the follower has noticed, so that each
            // rewrite is told once.
            auto deadline = Clock::now() + std::chrono::seconds(15);
            while (count(follow.errors(), notice) < static_cast<std::size_t>(done_rewrites) &&
                   Clock::now() < deadline) {
                follow.pump_for(20);
            }
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
    std::printf("soak: %zu chunks, %zu bytes appended, %d rewrites, %zu bytes shown\n", chunks,
                appended, done_rewrites, follow.output().size());
    bool ok = true;
    if (!same) {
        report_difference(follow.output(), expected);
        ok = false;
    }
    if (count(errors, notice) != static_cast<std::size_t>(done_rewrites)) {
        std::fprintf(stderr, "soak: %zu truncation notices for %d rewrites\n", count(errors, notice),
                     done_rewrites);
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
