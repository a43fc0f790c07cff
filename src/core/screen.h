// The window's size and the scene's projection, which the window, the pointer's home, the
// overlay's pixel grid and every perspective must agree on.
#pragma once

constexpr int kWindowWidth = 1024;  // pixels
constexpr int kWindowHeight = 768;
constexpr int kWindowCentreX = kWindowWidth / 2;  // the pointer's home
constexpr int kWindowCentreY = kWindowHeight / 2;

constexpr double kFieldOfView = 50;  // degrees, vertical, before the zoom divides it
constexpr double kViewAspect = static_cast<double>(kWindowWidth) / kWindowHeight;
static_assert(kViewAspect == 1.3333333333333333, "the 4:3 aspect, bit for bit");
