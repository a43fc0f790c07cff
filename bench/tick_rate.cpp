// The real program's tick rate: starts orbfall on a private Xvfb with the GL driver the machine
// has (no GALLIUM_NOOP), presses P, turns the view one full turn by the pointer, and counts the
// frames the game presents, one a tick, over the first ten seconds of the game. Each game places
// its targets by the calendar second; the turn shows the whole arena, so every game costs about
// the same. ORBFALL_E2E_GAME names another build to measure, a Windows one (orbfall.exe) too.
//
//   tick_rate           the game under test once
//   tick_rate PAIRS     the build beside this tool, then the game under test, PAIRS times on one
//                       X server, so both see the same machine
//
// The presents are counted from the X server's damage reports on the game's window, which see
// any build alike: under Wine the GL picture is drawn into a child window, and the damage of a
// child is the top-level's too. A Linux build's buffer swaps are also counted from the swap log,
// in the same run, as a check of the damage count.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"

namespace {

constexpr double kWindowMs = 10000;
constexpr int kStepMs = 50;
constexpr int kPixelsPerStep = 7;  // 0.25 degrees each: 35 degrees a second
constexpr int kFindMs = 120000;    // Wine's first start makes its prefix
constexpr int kFocusMs = 10000;
constexpr int kExitMs = 30000;

double loadAverage() {
    std::ifstream in("/proc/loadavg");
    double oneMinute = -1;
    in >> oneMinute;
    return oneMinute;
}

// Ticks in the first kWindowMs of the game, from the times of the frames presented after P:
// the title screen presents on every pass and P is handled at the next one, which starts the
// game. -1 without a game frame.
long ticksInWindow(const std::vector<double>& times) {
    if (times.size() < 2) return -1;
    const auto first = times.begin() + 1;
    return std::upper_bound(first, times.end(), *first + kWindowMs) - first;
}

// The frames presented in a window: the damage reports that cover all of it, with the server's
// time of each. A frame's picture is put into the window whole; anything smaller is not one.
class Presents {
public:
    Presents(Display* display, XID window) : display_(display) {
        int error = 0;
        if (!XDamageQueryExtension(display, &eventBase_, &error)) return;
        damage_ = XDamageCreate(display, window, XDamageReportRawRectangles);
        XSync(display, False);
    }
    ~Presents() {
        if (damage_) XDamageDestroy(display_, damage_);
    }
    Presents(const Presents&) = delete;
    Presents& operator=(const Presents&) = delete;

    bool ok() const { return damage_ != 0; }

    // The presents the server has reported since the last call, in milliseconds from the first
    // one ever taken (server times are 32 bits).
    std::vector<double> take() {
        XSync(display_, False);
        std::vector<double> times;
        XEvent event;
        while (XCheckTypedEvent(display_, eventBase_ + XDamageNotify, &event)) {
            const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (notify.area.width != notify.geometry.width ||
                notify.area.height != notify.geometry.height)
                continue;
            if (!started_) start_ = notify.timestamp, started_ = true;
            times.push_back(static_cast<std::uint32_t>(notify.timestamp - start_));
        }
        return times;
    }

private:
    Display* display_;
    int eventBase_ = 0;
    Damage damage_ = 0;
    bool started_ = false;
    Time start_ = 0;
};

// One game of program on server: prints its row, or why there is none. windows: it runs under
// Wine, where the swap log cannot follow it.
bool measure(e2e::XServer& server, const std::string& program, bool windows) {
    const e2e::SwapLog log;
    e2e::Game game({server.name(), false, program},
                   windows ? std::vector<std::string>{} : log.environment());
    e2e::GameWindow window(server);
    if (!window.find(kFindMs) || !window.focus(kFocusMs)) {
        return std::fprintf(stderr, "%s: %s\n", program.c_str(), window.error().c_str()), false;
    }
    Presents presents(server.display(), window.id());
    if (!presents.ok()) return std::fprintf(stderr, "no Damage extension\n"), false;

    const double loadBefore = loadAverage();
    presents.take();
    const double pressed = e2e::monotonicMs();
    window.tapKey("p");
    for (int t = 0; t < kWindowMs + 1000; t += kStepMs) {
        window.moveBy(kPixelsPerStep, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
    }
    const long ticks = ticksInWindow(presents.take());
    const double loadAfter = loadAverage();
    window.tapKey("Escape");
    if (!game.waitExit(kExitMs) || !game.quitCleanly()) {
        return std::fprintf(stderr, "%s did not quit cleanly\n", program.c_str()), false;
    }
    if (ticks < 0) return std::fprintf(stderr, "%s: no game frame\n", program.c_str()), false;

    // The check may differ by a frame: a swap is stamped when it is asked for and a present
    // when its picture arrives, so a frame in flight at P or at the tenth second can fall on
    // either side in one count and not the other.
    std::string swapped = "no swap log under Wine";
    if (!windows) {
        std::vector<double> swaps;
        for (const e2e::Swap& swap : log.read()) swaps.push_back(swap.ms);
        swaps.erase(swaps.begin(), std::upper_bound(swaps.begin(), swaps.end(), pressed));
        swapped = std::to_string(ticksInWindow(swaps)) + " swaps logged";
    }
    std::printf("%5.1f ticks/s  (%ld presents seen, %s)  load %.2f before, %.2f after  %s\n",
                ticks * 1000 / kWindowMs, ticks, swapped.c_str(), loadBefore, loadAfter,
                program.c_str());
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 0;
    e2e::XServer server;
    if (!server.ok()) return std::fprintf(stderr, "%s\n", server.error().c_str()), 1;
    if (pairs <= 0) return measure(server, e2e::gameUnderTest(), e2e::windowsBuild()) ? 0 : 1;
    for (int pair = 0; pair < pairs; ++pair) {
        if (!measure(server, e2e::builtGame(), false) ||
            !measure(server, e2e::gameUnderTest(), e2e::windowsBuild()))
            return 1;
    }
    return 0;
}
