// The input callbacks: keys move, switch weapons, start and end a game and quit; the pointer
// aims; the buttons fire and zoom. They act the same on the title screen as in a game.
#include "play/input.h"

#include "core/game_state.h"
#include "core/screen.h"
#include "play/firing.h"
#include "play/game_lifecycle.h"
#include "play/movement.h"
#include "play/score.h"

namespace {

constexpr double kDegreesPerPixel = 0.25;
constexpr double kPitchLimit = 90.0;
constexpr double kFullTurn = 360.0;
constexpr double kZoomIn = 1.5;
constexpr double kZoomOut = 1.0;

// Only the shotgun leads on to the machine gun; every other weapon goes back to the pistol.
void switchWeapon() {
    if (g_weapon == Pistol && g_shotgunUnlocked) {
        g_weapon = Shotgun;
        showNotice("SHOTGUN");
    } else if (g_weapon == Shotgun && g_machineGunUnlocked) {
        g_weapon = MachineGun;
        showNotice("MACHINE GUN");
    } else {
        g_weapon = Pistol;
        showNotice("PISTOL");
    }
}

// The direction is normalised in place after each change, never rebuilt from the keys held.
void setMoveAxis(float& axis, float value) {
    axis = value;
    normalize(g_moveDir);
}

void onKeyPress(int key) {
    switch (key) {
        case 'A':
            setMoveAxis(g_moveDir.x, 1);
            break;
        case 'D':
            setMoveAxis(g_moveDir.x, -1);
            break;
        case 'W':
            setMoveAxis(g_moveDir.z, -1);
            break;
        case 'S':
            setMoveAxis(g_moveDir.z, 1);
            break;
        case 'E':
            switchWeapon();
            break;
        case 'P':
            startGame();
            break;
        case 'Q':
            endGame();
            break;
        // The library may not be shut down from inside its own callback: the loop quits.
        case kKeyEscape:
            g_quitRequested = true;
            break;
        default:
            break;
    }
}

void onKeyRelease(int key) {
    switch (key) {
        case 'A':
        case 'D':
            setMoveAxis(g_moveDir.x, 0);
            break;
        case 'W':
        case 'S':
            setMoveAxis(g_moveDir.z, 0);
            break;
        default:
            break;
    }
}

}  // namespace

void onKey(int key, int action) {
    if (action != kRelease) {
        onKeyPress(key);
    } else {
        onKeyRelease(key);
    }
}

// The window adapter puts the pointer back at the centre before each report, so every
// report is an offset from it.
void onMouseMove(int x, int y) {
    // Offsets in double: a far-off position cannot overflow the subtraction.
    g_pitch += (static_cast<double>(y) - kWindowCentreY) * kDegreesPerPixel;
    if (g_pitch < -kPitchLimit) {
        g_pitch = -kPitchLimit;
    } else if (g_pitch > kPitchLimit) {
        g_pitch = kPitchLimit;
    }

    g_yaw += (static_cast<double>(x) - kWindowCentreX) * kDegreesPerPixel;
    if (g_yaw < 0) {
        g_yaw += kFullTurn;
    } else if (g_yaw > kFullTurn) {
        g_yaw -= kFullTurn;
    }
}

void onMouseButton(int button, int action) {
    const bool press = action != kRelease;
    if (button == kMouseLeft) {
        if (!press) {
            g_triggerHeld = false;
        } else if (g_weapon == MachineGun) {
            // The machine gun fires from the game tick; a zero stamp makes the next tick shoot.
            if (!g_triggerHeld) {
                g_triggerHeld = true;
                g_lastAutoShotTime = 0;
            }
        } else {
            fire();
        }
    } else if (button == kMouseRight && press) {
        g_zoom = g_zoom > kZoomOut ? kZoomOut : kZoomIn;
    }
}
