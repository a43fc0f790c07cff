// Real time sources: a monotonic millisecond clock and the calendar.
#include "core/clock.h"

#include <chrono>
#include <ctime>

namespace {

const auto kProgramStart = std::chrono::steady_clock::now();

}  // namespace

int clockMs() {
    const auto elapsed = std::chrono::steady_clock::now() - kProgramStart;
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    // The 32-bit reading wraps after 24.8 days, as any int clock must; skip 0 so it
    // never looks like "no tick taken".
    const int reading = static_cast<int>(static_cast<unsigned>(ms + 1));
    return reading == 0 ? 1 : reading;
}

long long calendarSeconds() {
    return static_cast<long long>(std::time(nullptr));
}
