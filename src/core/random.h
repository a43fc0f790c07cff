// The game's pseudo-random generator: 15-bit results from a 32-bit linear congruential state.
#pragma once

#include <cstdint>

void seedRandom(std::uint32_t seed);

// Next value in 0..32767.
int random15();
