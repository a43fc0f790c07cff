// STUB: to be written (only Escape, P and Q so far).
#include "play/input.h"
#include "app/game_lifecycle.h"
bool g_quitRequested = false;
void onKey(int key, int action) {
    if (action == kRelease) return;
    if (key == kKeyEscape) g_quitRequested = true;
    if (key == 'P') startGame();
    if (key == 'Q') endGame();
}
void onMouseMove(int, int) {}
void onMouseButton(int, int) {}
