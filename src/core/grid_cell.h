// One cell of the spatial grid: its minimum corner and the objects whose box touches it.
#pragma once

#include <vector>

class Object;

// The grid divides the arena into kGridCells cells per axis.
constexpr int kGridCells = 8;
constexpr int kGridCellCount = kGridCells * kGridCells * kGridCells;

struct GridCell {
    float x = 0, y = 0, z = 0;       // minimum corner; (0, 0, 0) until the first rebuild with objects
    std::vector<Object*> objects;  // non-owning, in g_objects order
};
