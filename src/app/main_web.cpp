// Orbfall in a page: the browser runs the loop's passes, and the page never ends the program.
#include <emscripten.h>

#include "app/main_loop.h"
#include "app/window.h"
#include "core/game_state.h"
#include "core/gl.h"
#include "render/title_screen.h"

namespace {

bool s_tickTimerSet = false;

// A pass as runLoopPass makes it, except that Escape frees the pointer here and quits nothing:
// a page cannot end its process, and the game goes on when a click captures the pointer again.
void pass() {
    pollEvents();
    g_quitRequested = false;
    if (!g_inGame) {
        renderTitleScreen();
        glfwSwapBuffers(g_window);
    } else if (advanceGame()) {
        glfwSwapBuffers(g_window);
    }
}

void timedPass(void*) {
    s_tickTimerSet = false;
    pass();
}

// Once a display frame, as the browser schedules them. The tick gate wants 17 whole ms, so a
// frame 16.7 ms after the last tick would find it shut and the game would tick only every
// other frame: such a frame sets a timer for the moment the gate opens instead. Ticks never
// outrun the frames the browser can show, so a slow machine is not sent pictures it drops.
void framePass() {
    pass();
    if (!g_inGame || s_tickTimerSet) return;
    const int wait = msUntilTick();
    if (wait > 0) {
        s_tickTimerSet = true;
        emscripten_async_call(timedPass, nullptr, wait);
    }
}

}  // namespace

int main() {
    initWindow();
    installKeyCallback();
    emscripten_set_main_loop(framePass, 0, 1);
}
