// Covers the game over a long run: resident memory stays flat across fifty games, and Escape
// in the middle of a game ends the program cleanly, with nothing of the game's own leaked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "harness.h"

namespace {

constexpr int kGames = 50;
constexpr int kWindowGames = 10;      // games 6..15 against games 41..50: the first warm up
constexpr long kGrowthBoundKb = 256;  // one game's 136 objects are about 20 KB
constexpr int kFrameMs = 40000;
constexpr int kTitleMs = 20000;
constexpr int kExitMs = 30000;

// glibc's adaptive thresholds and the rasteriser's threads make resident memory swing by
// megabytes from one sample to the next; fixed thresholds and one thread leave a floor that
// only memory kept for good can raise.
const std::vector<std::string> kSteadyAllocator = {
    "MALLOC_ARENA_MAX=1", "MALLOC_MMAP_THRESHOLD_=131072", "MALLOC_TRIM_THRESHOLD_=131072",
    "LP_NUM_THREADS=0"};

long residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string field;
    while (status >> field) {
        if (field == "VmRSS:") {
            long kb = -1;
            status >> kb;
            return kb;
        }
    }
    return -1;
}

}  // namespace

TEST(Lifetime, ResidentMemoryStaysFlatOverFiftyGames) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "resident memory of a sanitizer build is its allocator's quarantine; "
                    "the leak check at exit covers this build";
#endif
    // The real renderer: the no-op driver itself leaks with every bitmap drawn.
    e2e::XServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    e2e::Game game({server.name(), false}, kSteadyAllocator);
    e2e::GameWindow window(server);
    ASSERT_TRUE(window.find(20000)) << window.error();
    ASSERT_TRUE(window.focus(10000)) << window.error();

    std::vector<long> samples;
    e2e::Picture last;
    for (int n = 1; n <= kGames; ++n) {
        window.tapKey("p");
        ASSERT_TRUE(window.waitForPicture(e2e::showsGameFrame, kFrameMs, last)) << "game " << n;
        window.tapKey("q");
        ASSERT_TRUE(window.waitForPicture(e2e::showsTitleScreen, kTitleMs, last)) << "game " << n;
        samples.push_back(residentKb(game.pid()));
        ASSERT_GT(samples.back(), 0);
    }
    std::string trace;
    for (long kb : samples) trace += std::to_string(kb) + " ";
    std::printf("resident kB after each game: %s\n", trace.c_str());
    RecordProperty("resident_kb_first_game", std::to_string(samples.front()));
    RecordProperty("resident_kb_last_game", std::to_string(samples.back()));

    const auto floorOf = [&](int from) {
        return *std::min_element(samples.begin() + from, samples.begin() + from + kWindowGames);
    };
    EXPECT_LE(floorOf(kGames - kWindowGames) - floorOf(kWindowGames / 2), kGrowthBoundKb) << trace;

    window.tapKey("Escape");
    ASSERT_TRUE(game.waitExit(kExitMs));
    EXPECT_EQ(game.exitStatus(), 0);
}

TEST(Lifetime, EscapeDuringAGameExitsCleanly) {
    e2e::Session session;
    ASSERT_TRUE(session.ready()) << session.error;
    e2e::Picture frame;
    ASSERT_TRUE(session.startPlaying(frame)) << "no game frame after P";
    session.window.tapKey("Escape");  // with the 130 targets and 6 pieces still there
    ASSERT_TRUE(session.game.waitExit(kExitMs)) << "still running after Escape";
    EXPECT_EQ(session.game.termSignal(), 0);
    EXPECT_EQ(session.game.exitStatus(), 0);
    EXPECT_EQ(session.game.standardOutput(), "");
    EXPECT_EQ(session.game.standardError(), "");  // where a sanitizer build reports leaks
}
