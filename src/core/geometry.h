// Small value types and measures of space that every layer shares.
#pragma once

struct Vec3 {
    float x, y, z;
};
