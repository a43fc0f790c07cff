// Orbfall: opens the window, then runs the main loop until Escape or a close request.
#include "app/main_loop.h"
#include "app/window.h"
#include "core/game_state.h"

int main() {
    initWindow();
    g_inGame = false;
    g_lastTickTime = 0;
    installKeyCallback();
    g_fps = 0;
    for (;;) runLoopPass();
}
