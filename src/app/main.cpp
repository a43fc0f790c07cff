// Orbfall: opens the window, then runs the main loop until Escape or a close request.
#include "app/main_loop.h"
#include "app/window.h"

// The loop starts from the game state's load values: the title screen, no tick taken yet.
int main() {
    initWindow();
    installKeyCallback();
    for (;;) runLoopPass();
}
