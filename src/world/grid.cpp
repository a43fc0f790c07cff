// STUB: to be written.
#include "world/grid.h"
void rebuildGrid() {}
GridCell& gridCellAt(float, float, float) { return g_grid[0]; }
