// Whole pixels from a pointer that reports fractions of one, without drift: one axis each.
#pragma once

struct PixelCarry {
    double remainder = 0.0;  // pixels reported but not yet passed on, within ±0.5

    // The whole-pixel position for a report at position, an offset from centre: the offset
    // plus the remainder, rounded to nearest, a half away from zero so that a motion and its
    // mirror turn alike. What rounding left is carried to the next report, so the pixels
    // passed on never stray more than half a pixel from the motion reported. Positions past
    // the int range (or NaN) give the nearest int, or INT_MIN, and carry nothing.
    int toPixel(double position, int centre);
};
