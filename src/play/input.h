// The input callbacks, with the key, pointer and button codes their handlers act on.
#pragma once

constexpr int kPress = 1;
constexpr int kRelease = 0;
constexpr int kKeyEscape = 257;
constexpr int kMouseLeft = 0;
constexpr int kMouseRight = 1;

void onKey(int key, int action);
void onMouseMove(int x, int y);
void onMouseButton(int button, int action);
