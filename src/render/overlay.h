// Overlay coordinates: text and figures are placed by the window's pixel columns and rows,
// one overlay unit spanning its width, the origin at its centre, the near plane at z = -1.
#pragma once

#include "core/screen.h"

constexpr float kOverlayZ = -1;  // on the near plane of every projection the text is drawn under

constexpr double kPixelX = 1.0 / kWindowWidth;   // one column, in overlay units
constexpr double kPixelY = 1.0 / kWindowHeight;  // one row, before g_screenAspect scales it
static_assert(kPixelY == 0.0013020833333333333, "1 / 768, bit for bit");

// x of a column's left edge.
constexpr double overlayX(int column) {
    return column * kPixelX - 0.5;
}

// k of a row counted down from the top edge, stepped a pixel at a time as the figures are;
// the raster y is g_screenAspect * k.
constexpr double overlayK(int row) {
    return 0.5 - row * kPixelY;
}
