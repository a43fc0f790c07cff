// Player movement along the line of sight, and the in-place normalisation it relies on.
#pragma once

#include "core/game_state.h"

// Scales v to length 1; a zero vector stays zero.
void normalize(Vec3& v);

// One tick of movement from g_moveDir, kept inside the allowed region axis by axis.
void movePlayer();
