// The 8 x 8 x 8 spatial grid over the arena cube [-50, 50]^3.
#pragma once

#include "core/game_state.h"

constexpr float kCellSize = kArenaSide / kGridCells;  // arena units
constexpr float kGridOrigin = -kArenaHalf;            // minimum corner of the grid on every axis
static_assert(kCellSize == 12.5f, "cell corners stay exact in float");

// Empties every cell and lists each object of g_objects in the cells its box touches.
void rebuildGrid();

// The cell holding a point; indices are clamped, so any point yields a cell.
GridCell& gridCellAt(float x, float y, float z);
