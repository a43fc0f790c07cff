// The game pass under a controlled clock: seconds left, score decay, end test, tick gate,
// frame-rate estimate and machine-gun auto-fire.
#include <gtest/gtest.h>

#include <climits>

#include "core/game_state.h"
#include "app/main_loop.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"

namespace {

// A running game with no scene objects, started at clock reading `start`.
class MainLoop : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        openGameWindow();
    }

    void beginGame(int start) {
        g_fakeClockMs = start;
        g_inGame = true;
        g_gameStartTime = start;
        g_secondsLeft = 60;
        g_targetsLeft = 130;  // nothing in g_objects: the count alone keeps the game going
        g_lastTickTime = 0;
    }

    bool passAt(int clock) {
        g_fakeClockMs = clock;
        return advanceGame();
    }
};

}  // namespace

TEST_F(MainLoop, SecondsLeftCountsDownWholeSeconds) {
    beginGame(1000);
    const int elapsed[] = {0, 999, 1000, 1999, 2000, 30500, 59000, 59999, 60000, 60999};
    const int expected[] = {60, 60, 59, 59, 58, 30, 1, 1, 0, 0};
    for (int i = 0; i < 10; ++i) {
        passAt(1000 + elapsed[i]);
        EXPECT_EQ(g_secondsLeft, expected[i]) << "elapsed " << elapsed[i];
        EXPECT_TRUE(g_inGame);
    }
    passAt(1000 + 61000);
    EXPECT_EQ(g_secondsLeft, -1);
    EXPECT_FALSE(g_inGame);
}

TEST_F(MainLoop, ScoreDecaysOnePointPerSecondAndStopsAtZero) {
    beginGame(1000);
    g_score = 10;
    passAt(1000 + 500);
    EXPECT_EQ(g_score, 10);
    passAt(1000 + 3500);  // three seconds at once
    EXPECT_EQ(g_score, 7);
    g_score = 2;
    passAt(1000 + 6500);
    EXPECT_EQ(g_score, 0);
    passAt(1000 + 9500);
    EXPECT_EQ(g_score, 0);
}

TEST_F(MainLoop, LastSecondDecaysBeforeTheHighScoreIsKept) {
    beginGame(1000);
    passAt(1000 + 60999);
    ASSERT_EQ(g_secondsLeft, 0);
    g_score = 5;
    passAt(1000 + 61000);
    EXPECT_FALSE(g_inGame);
    EXPECT_EQ(g_score, 4);
    EXPECT_EQ(g_highScore, 4);
}

TEST_F(MainLoop, GameEndsOnThePassAfterTheLastTargetGoes) {
    beginGame(1000);
    passAt(1500);
    EXPECT_TRUE(g_inGame);
    g_targetsLeft = 0;
    passAt(1600);
    EXPECT_FALSE(g_inGame);
    EXPECT_EQ(g_secondsLeft, 60);
}

TEST_F(MainLoop, TheEndingPassStillRunsItsTick) {
    beginGame(1000);
    passAt(1000);  // takes the first tick time
    g_targetsLeft = 0;
    EXPECT_TRUE(passAt(1100));
    EXPECT_FALSE(g_inGame);
    EXPECT_EQ(g_lastTickTime, 1100);
}

TEST_F(MainLoop, FirstGameWaitsOneTickPeriodBeforeItsFirstTick) {
    beginGame(5000);
    EXPECT_FALSE(passAt(5000));
    EXPECT_EQ(g_lastTickTime, 5000);
    EXPECT_FALSE(passAt(5016));
    EXPECT_TRUE(passAt(5017));
    EXPECT_EQ(g_lastTickTime, 5017);
    EXPECT_EQ(g_fps, 58);
}

TEST_F(MainLoop, TickGateNeedsSeventeenMilliseconds) {
    beginGame(1000);
    passAt(1000);
    EXPECT_FALSE(passAt(1016));
    EXPECT_EQ(g_lastTickTime, 1000);
    EXPECT_TRUE(passAt(1017));
    EXPECT_FALSE(passAt(1033));
    EXPECT_TRUE(passAt(1034));
}

// A page waits msUntilTick() before its next pass: it must name the first ms the gate opens.
TEST_F(MainLoop, WaitUntilTickEndsWhereTheGateOpens) {
    for (const int lastTick : {1000, INT_MAX - 5}) {
        for (int gap = 0; gap <= 20; ++gap) {
            beginGame(lastTick);
            g_lastTickTime = lastTick;
            g_fakeClockMs = static_cast<int>(static_cast<unsigned>(lastTick) + gap);
            const int wait = msUntilTick();
            const int at = static_cast<int>(static_cast<unsigned>(lastTick) + gap + wait);
            if (wait > 0) {
                EXPECT_FALSE(passAt(at - 1)) << "gap " << gap;
            }
            EXPECT_TRUE(passAt(at)) << "gap " << gap << ", wait " << wait;
        }
    }
}

TEST_F(MainLoop, FrameRateComesFromTheGapBeforeTheTick) {
    const int gaps[] = {17, 20, 25, 33, 50, 1000, 1001};
    const int fps[] = {58, 50, 40, 30, 20, 1, 0};
    for (int i = 0; i < 7; ++i) {
        beginGame(1000);
        g_lastTickTime = 1000;
        EXPECT_TRUE(passAt(1000 + gaps[i]));
        EXPECT_EQ(g_fps, fps[i]) << "gap " << gaps[i];
    }
}

TEST_F(MainLoop, LaterGamesTickAtOnce) {
    // From 2^31 ms after the previous game's last tick on, the int gap reads negative.
    const unsigned gaps[] = {70000u, 0x80000000u, 0xFFFFFFFFu};
    for (unsigned gap : gaps) {
        const int start = static_cast<int>(20000u + gap);
        beginGame(start);
        g_lastTickTime = 20000;  // the last tick of the previous game
        EXPECT_TRUE(passAt(start)) << "gap " << gap;
        EXPECT_EQ(g_lastTickTime, start);
        EXPECT_EQ(g_fps, 0) << "gap " << gap;
    }
}

TEST_F(MainLoop, AutoFireEveryFourTickPeriods) {
    beginGame(1000);
    passAt(1000);
    g_triggerHeld = true;
    g_lastAutoShotTime = 0;  // set by the press: the next tick fires
    ASSERT_TRUE(passAt(1017));
    EXPECT_EQ(g_lastAutoShotTime, 1017);
    EXPECT_EQ(g_crosshairKick, 5);  // loaded with 6 by the pistol, one frame drawn
    passAt(1034);
    passAt(1051);
    passAt(1068);
    EXPECT_EQ(g_lastAutoShotTime, 1017);  // 51 ms: not yet
    passAt(1083);                         // 66 ms
    EXPECT_EQ(g_lastAutoShotTime, 1017);
    passAt(1100);                         // 83 ms
    EXPECT_EQ(g_lastAutoShotTime, 1100);
    passAt(1120);
    passAt(1140);
    passAt(1166);  // 66 ms after the last shot
    EXPECT_EQ(g_lastAutoShotTime, 1100);
    passAt(1200);
    EXPECT_EQ(g_lastAutoShotTime, 1200);
    passAt(1240);
    passAt(1267);  // exactly 67 ms
    EXPECT_EQ(g_lastAutoShotTime, 1267);

    g_triggerHeld = false;
    passAt(1400);
    EXPECT_EQ(g_lastAutoShotTime, 1267);
}

TEST_F(MainLoop, ClockWrapKeepsTimeAndTicks) {
    // The 32-bit millisecond clock wraps after 24.8 days of running.
    const int start = INT_MAX - 1500;
    beginGame(start);
    passAt(start);
    g_score = 10;
    const int afterWrap = static_cast<int>(static_cast<unsigned>(start) + 2600u);
    EXPECT_TRUE(passAt(afterWrap));
    EXPECT_EQ(g_secondsLeft, 58);
    EXPECT_EQ(g_score, 8);
    EXPECT_EQ(g_lastTickTime, afterWrap);
    EXPECT_FALSE(passAt(afterWrap + 16));
    EXPECT_TRUE(passAt(afterWrap + 17));
    EXPECT_EQ(g_fps, 58);

    g_triggerHeld = true;
    g_lastAutoShotTime = 0;
    passAt(afterWrap + 34);  // a negative reading still counts as "due" after a press
    EXPECT_EQ(g_lastAutoShotTime, afterWrap + 34);
}
