// Time sources for the benchmarks: real elapsed milliseconds, and a fixed calendar second.
#include <chrono>

#include "core/clock.h"

namespace {

const auto kStart = std::chrono::steady_clock::now();

}  // namespace

int clockMs() {
    const auto elapsed = std::chrono::steady_clock::now() - kStart;
    return 1 + static_cast<int>(
                   std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

long long calendarSeconds() {
    return 1765100000;  // every benchmark plays the game of this second
}
