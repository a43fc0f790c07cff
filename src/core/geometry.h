// Small value types and measures of space that every layer shares.
#pragma once

struct Vec3 {
    float x, y, z;
};

// Angles are held in degrees and turned into radians as angle * kPi / 180.
constexpr double kPi = 3.141592653589793;

// The arena is a cube centred on the origin. One value, because its bounds, the grid over it,
// the walls, where a ray leaves it and the shot range must all agree.
constexpr float kArenaHalf = 50.0f;  // arena units from the centre to each wall
constexpr float kArenaSide = 2 * kArenaHalf;
