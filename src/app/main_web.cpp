// Orbfall in a page: the browser runs the loop's passes, and the page never ends the program.
#include <emscripten.h>

#include "app/main_loop.h"
#include "app/window.h"
#include "core/game_state.h"
#include "core/gl.h"
#include "render/title_screen.h"

namespace {

bool s_passesAsOftenAsPossible = false;

// A pass as runLoopPass makes it, except that Escape frees the pointer here and quits nothing:
// a page cannot end its process, and the game goes on when a click captures the pointer again.
void pagePass() {
    pollEvents();
    g_quitRequested = false;
    if (!g_inGame) {
        renderTitleScreen();
        glfwSwapBuffers(g_window);
    } else if (advanceGame()) {
        glfwSwapBuffers(g_window);
    }

    // The tick gate wants 17 whole ms: passes at the display's 16.7 ms would tick only every
    // other frame, so a game polls the gate as often as the browser lets it. The title screen
    // is drawn once a display frame.
    if (g_inGame != s_passesAsOftenAsPossible) {
        s_passesAsOftenAsPossible = g_inGame;
        if (g_inGame) {
            emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
        } else {
            emscripten_set_main_loop_timing(EM_TIMING_RAF, 1);
        }
    }
}

}  // namespace

int main() {
    initWindow();
    installKeyCallback();
    emscripten_set_main_loop(pagePass, 0, 1);
}
