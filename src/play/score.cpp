// Points reach the score here, and the notice line announces unlocks and weapon switches.
#include "play/score.h"

#include <utility>

#include "core/clock.h"
#include "core/game_state.h"

namespace {

constexpr int kShotgunScore = 50;
constexpr int kMachineGunScore = 100;
constexpr const char* kShotgunNotice = "SHOTGUN UNLOCKED   PRESS E TO SWITCH";
constexpr const char* kMachineGunNotice = "MACHINE GUN UNLOCKED   PRESS E TO SWITCH";

}  // namespace

void addScore(int points) {
    g_score += points;
    // One unlock per shot: a jump from below 50 past 100 leaves the machine gun for the next.
    if (!g_shotgunUnlocked && g_score >= kShotgunScore) {
        showNotice(kShotgunNotice);
        g_shotgunUnlocked = true;
        return;
    }
    if (!g_machineGunUnlocked && g_score >= kMachineGunScore) {
        showNotice(kMachineGunNotice);
        g_machineGunUnlocked = true;
    }
}

void showNotice(std::string text) {
    g_noticeText = std::move(text);
    g_noticeTime = clockMs();
}
