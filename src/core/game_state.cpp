// The single definition of every game variable, with its value at program load.
#include "core/game_state.h"

#include <cmath>

#include "core/screen.h"

namespace {

// The arena's space diagonal plus 2, worked in 32-bit floats: 175.
int computeRayRange() {
    const float side = kArenaSide;
    const float diagonal = std::sqrt(side * side * 3.0f);
    return static_cast<int>(diagonal + 2.0f);
}

}  // namespace

// Mode and clock
bool g_quitRequested = false;
bool g_inGame = false;
int g_gameStartTime = 0;
int g_secondsLeft = 0;
int g_lastTickTime = 0;
int g_fps = 0;

// Score
int g_score = 0;
int g_highScore = 0;
int g_lastHitScore = 0;
int g_lastHitTime = 0;
bool g_shotgunUnlocked = false;
bool g_machineGunUnlocked = false;

// View and player
double g_pitch = 0;
double g_yaw = 0;
double g_roll = 0;
double g_zoom = 1.0;
Vec3 g_playerPos = {0, 0, 0};
Vec3 g_moveDir = {0, 0, 0};

// Weapons
Weapon g_weapon = Pistol;
bool g_triggerHeld = false;
int g_lastAutoShotTime = 0;
bool g_justFired = false;
int g_crosshairKick = 0;
bool g_recoilActive = false;
double g_recoilOffset = 0;
double g_recoilVelocity = 0;
int g_rayRange = computeRayRange();

// Scene
float g_arena[6] = {0, 0, 0, 0, 0, 0};
std::vector<Object*> g_objects;
int g_targetsLeft = 0;
GridCell g_grid[kGridCellCount];
std::map<int, unsigned> g_sphereLists;

// Presentation
double g_screenAspect = static_cast<double>(kWindowHeight) / kWindowWidth;
std::string g_noticeText;
int g_noticeTime = 0;
unsigned g_fontListBase = 0;
bool g_fontReady = false;
