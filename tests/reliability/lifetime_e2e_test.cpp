// Covers the game over a long run: what its code holds on the heap stays flat across fifty
// games, and Escape in the middle of a game ends the program cleanly, with nothing leaked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"

namespace {

constexpr int kGames = 50;
constexpr int kWindowGames = 10;  // games 6..15 against games 41..50: the first warm up
// A game that never deleted its 136 objects would keep 14 KB more each time, 488 KB from the
// first window to the last; from one game to the next the title screen holds the same to
// the kilobyte.
constexpr long kGrowthBoundKb = 64;
constexpr int kFrameMs = 40000;
constexpr int kTitleMs = 20000;
constexpr int kExitMs = 30000;

}  // namespace

TEST(Lifetime, HeldMemoryStaysFlatOverFiftyGames) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's operator new comes before the recorder's; "
                    "the leak check at exit covers this build";
#endif
    if (const char* why = e2e::swapLogUnavailable()) GTEST_SKIP() << why;
    // The real renderer, as a player has it.
    e2e::XServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    const e2e::SwapLog log;
    e2e::Game game({server.name(), false}, log.environment());
    e2e::GameWindow window(server);
    ASSERT_TRUE(window.find(20000)) << window.error();
    ASSERT_TRUE(window.focus(10000)) << window.error();

    std::vector<double> backAtTitle;  // ms, on the swap log's clock
    e2e::Picture last;
    for (int n = 1; n <= kGames; ++n) {
        window.tapKey("p");
        ASSERT_TRUE(window.waitForPicture(e2e::showsGameFrame, kFrameMs, last)) << "game " << n;
        window.tapKey("q");
        ASSERT_TRUE(window.waitForPicture(e2e::showsTitleScreen, kTitleMs, last)) << "game " << n;
        backAtTitle.push_back(e2e::monotonicMs());
    }
    window.tapKey("Escape");
    ASSERT_TRUE(game.waitExit(kExitMs));
    ASSERT_EQ(game.exitStatus(), 0);

    // After each game: what was held at the last title screen swap before the title was seen.
    const std::vector<e2e::Swap> swaps = log.read();
    ASSERT_FALSE(swaps.empty()) << "no swap log";
    std::vector<long> heldKb;
    std::string trace;
    for (double seen : backAtTitle) {
        const auto after =
            std::upper_bound(swaps.begin(), swaps.end(), seen,
                             [](double ms, const e2e::Swap& swap) { return ms < swap.ms; });
        ASSERT_NE(after, swaps.begin());
        heldKb.push_back(static_cast<long>(after[-1].heldBytes / 1024));
        trace += std::to_string(heldKb.back()) + " ";
    }
    std::printf("kB held through operator new after each game: %s\n", trace.c_str());
    RecordProperty("held_kb_first_game", std::to_string(heldKb.front()));
    RecordProperty("held_kb_last_game", std::to_string(heldKb.back()));

    const auto floorOf = [&](int from) {
        return *std::min_element(heldKb.begin() + from, heldKb.begin() + from + kWindowGames);
    };
    EXPECT_LE(floorOf(kGames - kWindowGames) - floorOf(kWindowGames / 2), kGrowthBoundKb) << trace;
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
