// The parts of a started child that do not depend on the platform.
#include <chrono>

#include "process.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point after(int milliseconds) {
    return Clock::now() + std::chrono::milliseconds(milliseconds);
}

}  // namespace

const std::string& Child::read_at_least(std::size_t bytes, int timeout_ms) {
    const auto deadline = after(timeout_ms);
    while (out_.size() < bytes && Clock::now() < deadline) pump(20);
    return out_;
}

void Child::pump_for(int milliseconds) {
    const auto deadline = after(milliseconds);
    do {
        pump(10);
    } while (Clock::now() < deadline);
}

int Child::wait(int timeout_ms) {
    const auto deadline = after(timeout_ms);
    while (running()) {
        if (Clock::now() >= deadline) return -1;
        pump(20);
    }
    return exit_status();
}
