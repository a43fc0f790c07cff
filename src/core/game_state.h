// Every variable of the running game, declared once; defined in game_state.cpp.
//
// Life cycle: each variable has its value at load (game_state.cpp), which is also where the
// main loop starts from; startGame sets the start-of-game values; endGame keeps the high score.
// These deliberately survive from one game to the next: g_highScore; g_lastHitScore and
// g_lastHitTime (a running score popup plays out); g_triggerHeld and g_lastAutoShotTime (a held
// button keeps firing); g_lastTickTime and g_fps (the tick clock runs on); g_noticeTime;
// g_fontListBase, g_fontReady and g_sphereLists (display lists live with the window);
// g_rayRange and g_screenAspect (fixed); g_quitRequested.
// A new variable needs its declaration here, its definition and load value in game_state.cpp,
// its start-of-game value in startGame or a place in the list above, and its load value in
// the tests' resetGameState (tests/support/game_state_reset.cpp).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/grid_cell.h"

// Stored as a 32-bit int; any other value behaves like the machine gun's "next is pistol" rule.
enum Weapon : int {
    Pistol = 0,
    Shotgun = 1,
    MachineGun = 2,
};

class Object;

constexpr int kGameSeconds = 60;  // a game's clock counts down from here

// Mode and clock
extern bool g_quitRequested;   // set by Escape; the main loop ends the program after the poll
extern bool g_inGame;          // a game is being played; false shows the title screen
extern int g_gameStartTime;    // ms clock reading when the game started
extern int g_secondsLeft;      // seconds, kGameSeconds down to -1
extern int g_lastTickTime;     // ms clock reading of the last tick; 0 = none taken yet
extern int g_fps;              // ticks per second, from the gap before the last tick

// Score
extern int g_score;               // points of the current (or last) game, never negative
extern int g_highScore;           // best final score since the program started
extern int g_lastHitScore;        // points of the last scoring shot; 0 shows no popup
extern int g_lastHitTime;         // ms clock reading when g_lastHitScore was set
extern bool g_shotgunUnlocked;    // unlocked in this game
extern bool g_machineGunUnlocked; // unlocked in this game

// View and player
extern double g_pitch;    // degrees, -90..90
extern double g_yaw;      // degrees, 0..360
extern double g_roll;     // degrees
extern double g_zoom;     // 1.0 or 1.5; field of view is 50 / g_zoom degrees
extern Vec3 g_playerPos;  // arena units, z mirrored against the scene
extern Vec3 g_moveDir;    // unit vector or zero, from the held movement keys

// Weapons
extern Weapon g_weapon;          // selected weapon
extern bool g_triggerHeld;       // machine-gun trigger held down
extern int g_lastAutoShotTime;   // tick time of the last automatic shot; 0 = fire next tick
extern bool g_justFired;         // a shot was fired since the last frame
extern int g_crosshairKick;      // frames left with the crosshair enlarged
extern bool g_recoilActive;      // shotgun recoil running; no shotgun shot meanwhile
extern double g_recoilOffset;    // arena units the view is pulled back
extern double g_recoilVelocity;  // arena units per frame
extern int g_rayRange;           // arena units, maximum shot distance

// Scene
extern float g_arena[6];                        // minX, minY, maxZ, maxX, maxY, minZ
extern std::vector<Object*> g_objects;          // owns every scene object
extern int g_targetsLeft;                       // targets whose flash has not ended
extern GridCell g_grid[kGridCellCount];         // spatial grid, cell i*64 + j*8 + k
extern std::map<int, unsigned> g_sphereLists;   // slice count -> display list id

// Presentation
extern double g_screenAspect;   // window height / width
extern std::string g_noticeText; // notice line; empty shows none
extern int g_noticeTime;         // ms clock reading when the notice was set
extern unsigned g_fontListBase;  // first of the font's 128 display lists
extern bool g_fontReady;         // font display lists built
