// The main loop's pass: the title screen between games; during one, the clock, the score
// decay, the end test and at most one tick per 1/60 s.
#include "app/main_loop.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdlib>

#include "app/window.h"
#include "core/clock.h"
#include "core/game_state.h"
#include "play/firing.h"
#include "play/game_lifecycle.h"
#include "play/movement.h"
#include "render/frame.h"
#include "render/title_screen.h"
#include "world/contacts.h"

namespace {

constexpr double kGameLength = kGameSeconds;
constexpr double kTickPeriod = 1000.0 / 60.0;   // ms: 16.666666666666668
constexpr double kAutoFirePeriod = 4.0;         // tick periods between machine-gun shots
constexpr double kFpsNumerator = 60.0;

// Escape or the window's close button: leave through the same door, status 0.
[[noreturn]] void quitGame() {
    deleteAllObjects();
    glfwTerminate();
    std::exit(0);
}

bool autoFireDue() {
    if (g_lastAutoShotTime == 0) return true;  // the press asks for a shot on the next tick
    return msSince(g_lastAutoShotTime, g_lastTickTime) / kTickPeriod >= kAutoFirePeriod;
}

}  // namespace

bool advanceGame() {
    if (g_lastTickTime == 0) g_lastTickTime = clockMs();

    const int elapsed = elapsedSince(g_gameStartTime);
    const int secondsLeft = static_cast<int>(std::ceil(kGameLength - elapsed / kMsPerSecond));
    if (secondsLeft < g_secondsLeft && g_score > 0) {
        const int decayed = g_score + (secondsLeft - g_secondsLeft);
        g_score = decayed > 0 ? decayed : 0;
    }
    g_secondsLeft = secondsLeft;
    if (g_targetsLeft == 0 || secondsLeft < 0) endGame();  // the pass goes on either way

    // The last tick may be from a game that ended more than 2^31 ms ago, so the int gap
    // reads negative: a long wait, not none. It is due, and like any wait over a second shows 0.
    const int sinceTick = elapsedSince(g_lastTickTime);
    const double ratio = sinceTick / kTickPeriod;
    if (sinceTick >= 0 && ratio < 1.0) return false;
    g_fps = sinceTick < 0 ? 0 : static_cast<int>(kFpsNumerator / ratio);
    g_lastTickTime = clockMs();

    movePlayer();
    resolveContacts();
    if (g_triggerHeld && autoFireDue()) {
        g_lastAutoShotTime = g_lastTickTime;
        fire();
    }
    renderFrame();
    return true;
}

int msUntilTick() {
    if (g_lastTickTime == 0) return 0;
    const int sinceTick = elapsedSince(g_lastTickTime);
    if (sinceTick < 0) return 0;
    const int gate = static_cast<int>(std::ceil(kTickPeriod));  // the first whole ms not below
    return sinceTick >= gate ? 0 : gate - sinceTick;
}

void runLoopPass() {
    pollEvents();
    if (g_quitRequested || glfwWindowShouldClose(g_window)) quitGame();

    if (!g_inGame) {
        renderTitleScreen();
        glfwSwapBuffers(g_window);
        return;
    }
    if (advanceGame()) glfwSwapBuffers(g_window);
}
