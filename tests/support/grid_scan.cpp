// Reference grid rebuild by a full scan of the 512 cells per object.
#include "support/grid_scan.h"

#include "core/game_state.h"
#include "world/scene_objects.h"

void rebuildGridByScan() {
    for (GridCell& cell : g_grid) cell.objects.clear();
    for (Object* object : g_objects) {
        const Vec3 c = object->position();
        const Vec3 r = static_cast<Sphere*>(object)->radii;
        const float low[3] = {c.x - r.x, c.y - r.y, c.z - r.z};
        const float high[3] = {c.x + r.x, c.y + r.y, c.z + r.z};
        for (int i = 0; i < 8; ++i) {
            for (int j = 0; j < 8; ++j) {
                for (int k = 0; k < 8; ++k) {
                    GridCell& cell = g_grid[i * 64 + j * 8 + k];
                    cell.x = i * 12.5f - 50;
                    cell.y = j * 12.5f - 50;
                    cell.z = k * 12.5f - 50;
                    const float corner[3] = {cell.x, cell.y, cell.z};
                    bool touches = true;
                    for (int a = 0; a < 3; ++a) {
                        touches = touches && corner[a] + 12.5f >= low[a] && corner[a] <= high[a];
                    }
                    if (touches) cell.objects.push_back(object);
                }
            }
        }
    }
}
