// Load-time values of the game state, restored between tests.
#include "support/game_state_reset.h"

#include "core/game_state.h"
#include "play/game_lifecycle.h"
#include "support/fake_clock.h"

void resetGameState() {
    deleteAllObjects();

    g_inGame = false;
    g_gameStartTime = 0;
    g_secondsLeft = 0;
    g_lastTickTime = 0;
    g_fps = 0;

    g_score = 0;
    g_highScore = 0;
    g_lastHitScore = 0;
    g_lastHitTime = 0;
    g_shotgunUnlocked = false;
    g_machineGunUnlocked = false;

    g_pitch = 0;
    g_yaw = 0;
    g_roll = 0;
    g_zoom = 1.0;
    g_playerPos = {0, 0, 0};
    g_moveDir = {0, 0, 0};

    g_weapon = Pistol;
    g_triggerHeld = false;
    g_lastAutoShotTime = 0;
    g_justFired = false;
    g_crosshairKick = 0;
    g_recoilActive = false;
    g_recoilOffset = 0;
    g_recoilVelocity = 0;

    for (float& bound : g_arena) bound = 0;
    g_targetsLeft = 0;
    for (GridCell& cell : g_grid) {
        cell.x = cell.y = cell.z = 0;
        cell.objects.clear();
    }

    g_screenAspect = 0.75;
    g_noticeText.clear();
    g_noticeTime = 0;
    g_quitRequested = false;

    g_fakeClockMs = 1;
    g_fakeCalendarSeconds = 0;
}

void GameStateTest::SetUp() {
    resetGameState();
}

void GameStateTest::TearDown() {
    deleteAllObjects();
}
