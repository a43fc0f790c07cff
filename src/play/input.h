// The input callbacks, with the key, pointer and button codes the game was designed around.
#pragma once

constexpr int kPress = 1;
constexpr int kRelease = 0;
constexpr int kKeyEscape = 257;
constexpr int kMouseLeft = 0;
constexpr int kMouseRight = 1;

// Set by Escape; the main loop ends the program right after polling events.
extern bool g_quitRequested;

void onKey(int key, int action);
void onMouseMove(int x, int y);
void onMouseButton(int button, int action);
