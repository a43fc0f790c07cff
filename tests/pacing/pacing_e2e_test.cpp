// The real game's tick rate: with the no-op GL driver the frame costs the CPU almost
// nothing, so the 17 ms tick gate alone sets the pace, which must stay near its cap of
// 58.8 ticks a second over a 10-second stretch of a game.
#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "harness.h"

namespace {

constexpr long long kNsPerSecond = 1000000000LL;
constexpr double kWindowSeconds = 10.0;
constexpr double kMinTicksPerSecond = 57.0;

long long monotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * kNsPerSecond + now.tv_nsec;
}

}  // namespace

TEST(Pacing, GameHoldsFiftySevenTicksPerSecond) {
    e2e::XServer server;
    ASSERT_TRUE(server.ok()) << server.error();

    // The game inherits the environment: load the swap logger into it alone.
    const std::string log = "/tmp/orbfall-swaps-" + std::to_string(getpid()) + ".txt";
    setenv("LD_PRELOAD", ORBFALL_SWAP_LOG_LIBRARY, 1);
    setenv("ORBFALL_SWAP_LOG", log.c_str(), 1);
    e2e::Game game({server.name(), true});
    unsetenv("LD_PRELOAD");
    unsetenv("ORBFALL_SWAP_LOG");

    e2e::GameWindow window(server);
    ASSERT_TRUE(window.find(15000)) << window.error();
    ASSERT_TRUE(window.focus(5000)) << window.error();
    window.tapKey("p");
    const long long start = monotonicNs() + kNsPerSecond / 2;  // let the game settle in
    const long long end = start + static_cast<long long>(kWindowSeconds * kNsPerSecond);
    std::this_thread::sleep_for(std::chrono::nanoseconds(end - monotonicNs() + kNsPerSecond / 5));
    window.tapKey("Escape");
    ASSERT_TRUE(game.waitExit(15000));
    ASSERT_TRUE(game.quitCleanly()) << "status " << game.exitStatus() << ", signal "
                                    << game.termSignal();

    std::ifstream in(log);
    ASSERT_TRUE(in) << "no swap log at " << log;
    long long t = 0;
    int ticks = 0;
    while (in >> t) ticks += t >= start && t < end;
    std::remove(log.c_str());

    const double rate = ticks / kWindowSeconds;
    RecordProperty("ticks_per_second", std::to_string(rate));
    std::printf("ticks per second over %.0f s of a game: %.1f\n", kWindowSeconds, rate);
    EXPECT_GE(rate, kMinTicksPerSecond);
    EXPECT_LE(rate, 1000.0 / 17 + 0.1);  // never faster than the gate allows
}
