// Score: addScore's unlocks (one per call, the shotgun first) and the notice line.
#include "play/score.h"

#include <gtest/gtest.h>

#include "core/game_state.h"
#include "play/input.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"

namespace {

const char* const kShotgunText = "SHOTGUN UNLOCKED   PRESS E TO SWITCH";
const char* const kMachineGunText = "MACHINE GUN UNLOCKED   PRESS E TO SWITCH";

class ScoreUnlocks : public GameStateTest {};
class NoticeLine : public GameStateTest {};

}  // namespace

TEST_F(ScoreUnlocks, FiftyUnlocksTheShotgunWithItsNotice) {
    g_score = 45;
    g_fakeClockMs = 1234;
    addScore(5);
    EXPECT_EQ(g_score, 50);
    EXPECT_TRUE(g_shotgunUnlocked);
    EXPECT_FALSE(g_machineGunUnlocked);
    EXPECT_EQ(g_noticeText, kShotgunText);
    EXPECT_EQ(g_noticeTime, 1234);
}

TEST_F(ScoreUnlocks, BelowFiftyUnlocksNothing) {
    g_score = 45;
    addScore(4);
    EXPECT_EQ(g_score, 49);
    EXPECT_FALSE(g_shotgunUnlocked);
    EXPECT_TRUE(g_noticeText.empty());
    EXPECT_EQ(g_noticeTime, 0);
}

TEST_F(ScoreUnlocks, JumpPastHundredUnlocksOnlyTheShotgunThenTheMachineGunNext) {
    g_score = 45;
    addScore(60);
    EXPECT_EQ(g_score, 105);
    EXPECT_TRUE(g_shotgunUnlocked);
    EXPECT_FALSE(g_machineGunUnlocked);
    EXPECT_EQ(g_noticeText, kShotgunText);

    g_fakeClockMs = 900;
    addScore(2);
    EXPECT_EQ(g_score, 107);
    EXPECT_TRUE(g_machineGunUnlocked);
    EXPECT_EQ(g_noticeText, kMachineGunText);
    EXPECT_EQ(g_noticeTime, 900);
}

TEST_F(ScoreUnlocks, MachineGunWaitsUntilTheScoreIsStillAHundred) {
    g_score = 45;
    addScore(60);
    g_score = 90;  // the per-second decay writes the score directly
    addScore(2);
    EXPECT_EQ(g_score, 92);
    EXPECT_FALSE(g_machineGunUnlocked);
    EXPECT_EQ(g_noticeText, kShotgunText);
}

TEST_F(ScoreUnlocks, NothingNewAboveFiftyThenMachineGunAtExactlyHundred) {
    g_score = 48;
    g_shotgunUnlocked = true;
    addScore(3);
    EXPECT_EQ(g_score, 51);
    EXPECT_FALSE(g_machineGunUnlocked);
    EXPECT_TRUE(g_noticeText.empty());
    EXPECT_EQ(g_noticeTime, 0);

    g_score = 99;
    g_fakeClockMs = 5000;
    addScore(1);
    EXPECT_EQ(g_score, 100);
    EXPECT_TRUE(g_machineGunUnlocked);
    EXPECT_EQ(g_noticeText, kMachineGunText);
    EXPECT_EQ(g_noticeTime, 5000);
}

TEST_F(ScoreUnlocks, LaterShotsDoNotRepeatTheNotice) {
    g_score = 120;
    g_shotgunUnlocked = true;
    g_machineGunUnlocked = true;
    addScore(10);
    EXPECT_EQ(g_score, 130);
    EXPECT_TRUE(g_noticeText.empty());
}

TEST_F(ScoreUnlocks, DecayNeverWithdrawsAnUnlock) {
    g_score = 45;
    addScore(5);
    g_score = 40;  // a few seconds of decay
    addScore(1);
    EXPECT_TRUE(g_shotgunUnlocked);
    EXPECT_EQ(g_noticeText, kShotgunText);  // not announced again

    onKey('E', kPress);
    EXPECT_EQ(g_weapon, Shotgun);
}

TEST_F(NoticeLine, ShowNoticeCopiesTextAndStampsTheClock) {
    g_fakeClockMs = 42;
    std::string text = "PISTOL";
    showNotice(text);
    text = "CHANGED";
    EXPECT_EQ(g_noticeText, "PISTOL");
    EXPECT_EQ(g_noticeTime, 42);
}

TEST_F(NoticeLine, EJustAfterAnUnlockReplacesTheNotice) {
    g_score = 45;
    g_fakeClockMs = 100;
    addScore(5);
    ASSERT_EQ(g_noticeText, kShotgunText);

    g_fakeClockMs = 150;
    onKey('E', kPress);
    EXPECT_EQ(g_noticeText, "SHOTGUN");
    EXPECT_EQ(g_noticeTime, 150);  // the three seconds start again
}
