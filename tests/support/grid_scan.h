// The straightforward grid rebuild: every object against all 512 cells. The reference that
// the real rebuild must match exactly, and the baseline it is measured against.
#pragma once

// Refills g_grid from g_objects by testing every cell's box against every object's box.
void rebuildGridByScan();
