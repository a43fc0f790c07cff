// The spatial grid: which cell holds a point, and which objects each cell's box touches.
#include "world/grid.h"

#include <array>

#include "world/scene_objects.h"

namespace {

constexpr float kCellsPerUnit = 1 / kCellSize;  // held in single precision
static_assert(kCellsPerUnit == 0.08f, "the scale the cell lookup uses, bit for bit");

// Minimum corner of the cells along one axis: i * 12.5 - 50, all exact in float.
constexpr std::array<float, kGridCells> cellLows() {
    std::array<float, kGridCells> low{};
    for (int i = 0; i < kGridCells; ++i) low[i] = i * kCellSize + kGridOrigin;
    return low;
}
constexpr std::array<float, kGridCells> kCellLow = cellLows();
static_assert(kCellLow[1] == -37.5f && kCellLow[kGridCells - 1] == 37.5f, "exact corners");

int cellIndexOf(int i, int j, int k) {
    return i * kGridCells * kGridCells + j * kGridCells + k;
}

// Room every cell has for objects; a cell lists an object at most once, so room for all of
// them up front means no list grows in the middle of a game.
std::size_t s_roomPerCell = 0;

// The index of the cell holding a coordinate, clamped into 0..7. Comparing before converting
// keeps far-out values (and NaN, which goes to 0) clear of an out-of-range conversion.
int axisIndex(float v) {
    const float shifted = v - kGridOrigin;
    const float scaled = shifted * kCellsPerUnit;
    if (!(scaled > 0.0f)) return 0;
    if (scaled >= static_cast<float>(kGridCells)) return kGridCells - 1;
    return static_cast<int>(scaled);
}

// The cells along one axis whose closed extent meets [low, high], tested exactly as the
// full scan tests them. They form one run; first > last when there are none.
void touchedRun(float low, float high, int& first, int& last) {
    first = 0;
    while (first < kGridCells && !(kCellLow[first] + kCellSize >= low)) ++first;
    last = kGridCells - 1;
    while (last >= 0 && !(kCellLow[last] <= high)) --last;
}

}  // namespace

GridCell& gridCellAt(float x, float y, float z) {
    return g_grid[cellIndexOf(axisIndex(x), axisIndex(y), axisIndex(z))];
}

// Visits only the cells each box touches, yet leaves every list, its order and every corner
// exactly as testing each object against all 512 cells would.
void rebuildGrid() {
    for (GridCell& cell : g_grid) cell.objects.clear();  // storage kept for reuse
    if (g_objects.empty()) return;                       // corners keep their last values
    if (g_objects.size() > s_roomPerCell) {
        for (GridCell& cell : g_grid) cell.objects.reserve(g_objects.size());
        s_roomPerCell = g_objects.size();
    }

    for (int i = 0; i < kGridCells; ++i) {
        for (int j = 0; j < kGridCells; ++j) {
            for (int k = 0; k < kGridCells; ++k) {
                GridCell& cell = g_grid[cellIndexOf(i, j, k)];
                cell.x = kCellLow[i];
                cell.y = kCellLow[j];
                cell.z = kCellLow[k];
            }
        }
    }

    for (Object* object : g_objects) {
        const Vec3 c = object->position();
        const Vec3 r = static_cast<const Sphere*>(object)->radii;  // every scene object is one
        // Each face stored as a float before it is compared.
        const float lowX = c.x - r.x, highX = c.x + r.x;
        const float lowY = c.y - r.y, highY = c.y + r.y;
        const float lowZ = c.z - r.z, highZ = c.z + r.z;
        int i0, i1, j0, j1, k0, k1;
        touchedRun(lowX, highX, i0, i1);
        touchedRun(lowY, highY, j0, j1);
        touchedRun(lowZ, highZ, k0, k1);
        for (int i = i0; i <= i1; ++i) {
            for (int j = j0; j <= j1; ++j) {
                for (int k = k0; k <= k1; ++k) {
                    g_grid[cellIndexOf(i, j, k)].objects.push_back(object);
                }
            }
        }
    }
}
