// Hit-scan firing: the ray pattern of each weapon marched through the grid.
#pragma once

#include <vector>

#include "core/game_state.h"

// Fires one shot of g_weapon at once.
void fire();

// Replaces the two parallel arrays by the weapon's rays in view terms before turning (the view
// looks along +z), in firing order, each with its range factor. The machine gun draws its
// spread from random15, x first.
void layOutRays(Weapon weapon, std::vector<Vec3>& directions, std::vector<float>& rangeFactors);
