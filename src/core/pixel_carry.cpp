// Whole pixels from a pointer that reports fractions of one, without drift.
#include "core/pixel_carry.h"

#include <climits>
#include <cmath>

int PixelCarry::toPixel(double position, int centre) {
    const double motion = position - centre + remainder;
    const double whole = std::round(motion);
    const double pixel = centre + whole;
    // A disabled cursor's virtual position is unbounded.
    if (!(pixel > INT_MIN)) {
        remainder = 0.0;
        return INT_MIN;
    }
    if (!(pixel < INT_MAX)) {
        remainder = 0.0;
        return INT_MAX;
    }
    remainder = motion - whole;  // exact: whole is the integer nearest motion
    return static_cast<int>(pixel);
}
