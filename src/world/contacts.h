// The contact pass: objects that touch start dying without scoring.
#pragma once

constexpr float kTouchDistance = 2.0f;  // normalised ellipsoid distance

// Rebuilds the grid, then hits every pair of touching objects.
void resolveContacts();
