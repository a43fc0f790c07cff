// The game's pseudo-random generator: 15-bit results from a 32-bit linear congruential state.
#pragma once

#include <cstdint>

void seedRandom(std::uint32_t seed);

// random15's largest value; the firing spread and the target set-up divide by it, so the range
// must stay 0..32767.
constexpr double kRandomMax = 32767.0;

// Next value in 0..kRandomMax.
int random15();
