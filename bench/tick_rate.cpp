// The real program's tick rate: starts orbfall on a private Xvfb with the GL driver the machine
// has (no GALLIUM_NOOP), presses P, turns the view one full turn by the pointer, and counts the
// game's buffer swaps, one a tick, over the first ten seconds of the game. Each game places its
// targets by the calendar second; the turn shows the whole arena, so every game costs about
// the same. ORBFALL_E2E_GAME names another build to measure.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "harness.h"

namespace {

constexpr double kWindowMs = 10000;
constexpr int kStepMs = 50;
constexpr int kPixelsPerStep = 7;  // 0.25 degrees each: 35 degrees a second

double loadAverage() {
    std::ifstream in("/proc/loadavg");
    double oneMinute = -1;
    in >> oneMinute;
    return oneMinute;
}

}  // namespace

int main() {
    e2e::XServer server;
    if (!server.ok()) return std::fprintf(stderr, "%s\n", server.error().c_str()), 1;
    const e2e::SwapLog log;
    e2e::Game game({server.name(), false}, log.environment());
    e2e::GameWindow window(server);
    if (!window.find(15000) || !window.focus(5000)) {
        return std::fprintf(stderr, "%s\n", window.error().c_str()), 1;
    }
    const double loadBefore = loadAverage();
    const double pressed = e2e::monotonicMs();
    window.tapKey("p");
    for (int t = 0; t < kWindowMs + 1000; t += kStepMs) {
        window.moveBy(kPixelsPerStep, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
    }
    window.tapKey("Escape");
    if (!game.waitExit(30000) || !game.quitCleanly()) {
        return std::fprintf(stderr, "the game did not quit cleanly\n"), 1;
    }

    std::vector<double> swaps;
    for (const e2e::Swap& swap : log.read()) swaps.push_back(swap.ms);
    // The title screen swaps on every pass; P is handled at the next pass, which starts the game.
    auto first = std::upper_bound(swaps.begin(), swaps.end(), pressed);
    if (first == swaps.end()) return std::fprintf(stderr, "no swap after P\n"), 1;
    ++first;
    const long ticks = std::upper_bound(first, swaps.end(), *first + kWindowMs) - first;
    std::printf("%.1f ticks/s over %.0f s of a game; load average %.2f before, %.2f after\n",
                ticks * 1000 / kWindowMs, kWindowMs / 1000, loadBefore, loadAverage());
    return 0;
}
