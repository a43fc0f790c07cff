// The spatial grid: point lookup, and a rebuild that matches the full 512-cell scan exactly
// and allocates nothing once warm (its speed against the scan is measured in bench/).
#include "world/grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "play/game_lifecycle.h"
#include "core/game_state.h"
#include "support/allocation_counter.h"
#include "support/game_state_reset.h"
#include "support/grid_scan.h"
#include "world/scene_objects.h"

namespace {

int cellIndex(int i, int j, int k) {
    return i * 64 + j * 8 + k;
}

int indexOf(const GridCell& cell) {
    return static_cast<int>(&cell - g_grid);
}

Sphere* addTarget(Vec3 pos, Vec3 radii) {
    Sphere* target = new Sphere(pos, radii, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 4);
    g_objects.push_back(target);
    return target;
}

// The indices of the cells that list an object.
std::vector<int> cellsListing(const Object* object) {
    std::vector<int> cells;
    for (int n = 0; n < kGridCellCount; ++n) {
        const auto& list = g_grid[n].objects;
        if (std::find(list.begin(), list.end(), object) != list.end()) cells.push_back(n);
    }
    return cells;
}

// Marks every corner and list, so a rebuild that skips one shows.
void scribbleOverGrid(Object* junk) {
    for (GridCell& cell : g_grid) {
        cell.x = cell.y = cell.z = 999;
        cell.objects.assign(1, junk);
    }
}

class Grid : public GameStateTest {};

}  // namespace

TEST_F(Grid, CellAtClampsIntoTheGrid) {
    EXPECT_EQ(indexOf(gridCellAt(-50, -50, -50)), 0);
    EXPECT_EQ(indexOf(gridCellAt(-1000, -1000, -1000)), 0);
    EXPECT_EQ(indexOf(gridCellAt(50, 50, 50)), 511);
    EXPECT_EQ(indexOf(gridCellAt(1000, 0, 0)), cellIndex(7, 4, 4));
    EXPECT_EQ(indexOf(gridCellAt(0, 0, 0)), 292);
    EXPECT_EQ(indexOf(gridCellAt(-1e30f, 1e30f, 0)), cellIndex(0, 7, 4));
    EXPECT_EQ(indexOf(gridCellAt(-INFINITY, INFINITY, -50.5f)), cellIndex(0, 7, 0));
    EXPECT_EQ(indexOf(gridCellAt(-49.99f, 49.99f, -0.01f)), cellIndex(0, 7, 3));
}

TEST_F(Grid, CellBoundaryBelongsToTheUpperCell) {
    for (int m = 1; m < 8; ++m) {
        const float boundary = m * 12.5f - 50;
        SCOPED_TRACE(boundary);
        EXPECT_EQ(indexOf(gridCellAt(boundary, 0, 0)), cellIndex(m, 4, 4));
        EXPECT_EQ(indexOf(gridCellAt(0, boundary, 0)), cellIndex(4, m, 4));
        EXPECT_EQ(indexOf(gridCellAt(0, 0, boundary)), cellIndex(4, 4, m));
        EXPECT_EQ(indexOf(gridCellAt(boundary - 0.01f, 0, 0)), cellIndex(m - 1, 4, 4));
        EXPECT_EQ(indexOf(gridCellAt(boundary + 0.01f, 0, 0)), cellIndex(m, 4, 4));
    }
}

// The float just below these boundaries rounds up onto them in single precision (it would
// not in double), so it already lands in the upper cell.
TEST_F(Grid, CellAtWorksInSinglePrecision) {
    for (const float boundary : {-12.5f, 12.5f, 25.0f, 37.5f}) {
        SCOPED_TRACE(boundary);
        const float below = std::nextafter(boundary, -100.0f);
        const int upper = static_cast<int>((boundary + 50) / 12.5f);
        EXPECT_EQ(indexOf(gridCellAt(below, 0, 0)), cellIndex(upper, 4, 4));
        EXPECT_EQ(indexOf(gridCellAt(0, 0, below)), cellIndex(4, 4, upper));
    }
}

TEST_F(Grid, ObjectAtOriginFillsTheEightMiddleCells) {
    const Sphere* target = addTarget({0, 0, 0}, {1, 1, 1});
    rebuildGrid();
    std::vector<int> expected;
    for (int i : {3, 4})
        for (int j : {3, 4})
            for (int k : {3, 4}) expected.push_back(cellIndex(i, j, k));
    EXPECT_EQ(cellsListing(target), expected);
}

TEST_F(Grid, BoxTouchingAFaceIsInBothCells) {
    const Sphere* target = addTarget({-36.5f, 0.5f, 0.5f}, {1, 0.25f, 0.25f});
    // Touching the grid's outer face from outside counts as well.
    const Sphere* outside = addTarget({-52, 0.5f, 0.5f}, {2, 0.25f, 0.25f});
    rebuildGrid();
    EXPECT_EQ(cellsListing(target), (std::vector<int>{cellIndex(0, 4, 4), cellIndex(1, 4, 4)}));
    EXPECT_EQ(cellsListing(outside), (std::vector<int>{cellIndex(0, 4, 4)}));
}

TEST_F(Grid, BoxesOutsideTheGrid) {
    const Sphere* beyond = addTarget({0, 0, 60}, {1, 1, 5});      // 55..65 on z
    const Sphere* straddling = addTarget({0, 0, 52}, {1, 1, 3});  // 49..55 on z
    const Sphere* farAway = addTarget({3e30f, 0, 0}, {1, 1, 1});
    const Sphere* everywhere = addTarget({1e6f, 0, 0}, {1e30f, 1e30f, 1e30f});
    const Sphere* underflow = addTarget({-1e30f, 0, 0}, {1, 1, 1});  // c - r rounds to c
    rebuildGrid();
    EXPECT_TRUE(cellsListing(beyond).empty());
    EXPECT_TRUE(cellsListing(farAway).empty());
    EXPECT_TRUE(cellsListing(underflow).empty());
    EXPECT_EQ(cellsListing(straddling), (std::vector<int>{cellIndex(3, 3, 7), cellIndex(3, 4, 7),
                                                          cellIndex(4, 3, 7), cellIndex(4, 4, 7)}));
    EXPECT_EQ(cellsListing(everywhere).size(), 512u);
}

TEST_F(Grid, ListsKeepObjectOrder) {
    Sphere* a = addTarget({1, 1, 1}, {0.5f, 0.5f, 0.5f});
    Sphere* b = addTarget({20, 20, 20}, {0.5f, 0.5f, 0.5f});
    Sphere* c = addTarget({2, 2, 2}, {0.5f, 0.5f, 0.5f});
    Sphere* d = addTarget({0, 0, 0}, {30, 30, 30});
    rebuildGrid();
    EXPECT_EQ(g_grid[cellIndex(4, 4, 4)].objects, (std::vector<Object*>{a, c, d}));
    EXPECT_EQ(g_grid[cellIndex(5, 5, 5)].objects, (std::vector<Object*>{b, d}));
}

TEST_F(Grid, PiecesAreBinnedAtOffsetPlusPlayer) {
    Object* piece = new PersonSphereStatic({1, -6, 0}, {0.5f, 1, 1}, 1, 1, 1, {0, 0, 0});
    g_objects.push_back(piece);
    g_playerPos = {30, 0, 30};
    g_yaw = 90;  // no part in binning
    rebuildGrid();
    // (31, -6, 30) with its box: x 30.5..31.5, y -7..-5, z 29..31.
    EXPECT_EQ(cellsListing(piece), (std::vector<int>{cellIndex(6, 3, 6)}));
}

TEST_F(Grid, EmptySceneEmptiesListsAndKeepsCorners) {
    Sphere junk({0, 0, 0}, {1, 1, 1}, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 4);
    scribbleOverGrid(&junk);
    rebuildGrid();
    for (const GridCell& cell : g_grid) {
        EXPECT_TRUE(cell.objects.empty());
        EXPECT_EQ(cell.x, 999);
        EXPECT_EQ(cell.z, 999);
    }
    // The first rebuild with an object sets every corner, including far from the object.
    addTarget({0, 0, 0}, {1, 1, 1});
    rebuildGrid();
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j)
            for (int k = 0; k < 8; ++k) {
                const GridCell& cell = g_grid[cellIndex(i, j, k)];
                EXPECT_EQ(cell.x, i * 12.5f - 50);
                EXPECT_EQ(cell.y, j * 12.5f - 50);
                EXPECT_EQ(cell.z, k * 12.5f - 50);
            }
}

namespace {

// One random box of many kinds: plain, faces exactly on cell faces, straddling or beyond the
// grid, far out, tiny, huge, and centres whose faces round in float.
Object* randomObject(std::mt19937& rng) {
    std::uniform_real_distribution<float> unit(0, 1);
    std::uniform_int_distribution<int> pick(0, 7);
    auto within = [&](float lo, float hi) { return lo + (hi - lo) * unit(rng); };
    Vec3 c, r;
    float* cs[3] = {&c.x, &c.y, &c.z};
    float* rs[3] = {&r.x, &r.y, &r.z};
    for (int a = 0; a < 3; ++a) {
        float& cv = *cs[a];
        float& rv = *rs[a];
        const float boundary = pick(rng) * 12.5f - 50 + (unit(rng) < 0.15f ? 100 : 0);
        switch (pick(rng)) {
            case 0:  // low face exactly on a cell face
                rv = (1 + pick(rng) * 5) * 0.25f;
                cv = boundary + rv;
                break;
            case 1:  // high face exactly on a cell face
                rv = (1 + pick(rng) * 5) * 0.25f;
                cv = boundary - rv;
                break;
            case 2:  // near or beyond the outer faces
                rv = within(0.1f, 10);
                cv = (unit(rng) < 0.5f ? -1 : 1) * within(40, 70);
                break;
            case 3:  // far out, sometimes with an enormous box
                rv = unit(rng) < 0.3f ? within(1e6f, 1e30f) : within(0.5f, 2);
                cv = (unit(rng) < 0.5f ? -1 : 1) * within(1e3f, 1e30f);
                break;
            case 4:  // a speck next to a cell face
                rv = within(1e-7f, 1e-4f);
                cv = boundary + within(-2e-4f, 2e-4f);
                break;
            case 5:  // larger than a cell
                rv = within(6, 40);
                cv = within(-60, 60);
                break;
            default:  // like a game's targets, with arbitrary float centres
                rv = within(0.5f, 1.5f);
                cv = within(-55, 55);
                break;
        }
    }
    if (unit(rng) < 0.1f) return new PersonSphereStatic(c, r, 1, 1, 1, {0, 0, 0});
    return new Sphere(c, r, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 4);
}

}  // namespace

TEST_F(Grid, RebuildMatchesTheFullScan) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> sceneSize(0, 30);
    std::uniform_real_distribution<float> player(-40, 40);
    Sphere junk({0, 0, 0}, {1, 1, 1}, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 4);
    std::vector<GridCell> expected(kGridCellCount);
    int boxes = 0;
    int mismatchedScenes = 0;
    for (int scene = 0; scene < 1500; ++scene) {
        deleteAllObjects();
        const int count = scene % 50 == 0 ? 0 : sceneSize(rng);
        for (int n = 0; n < count; ++n) g_objects.push_back(randomObject(rng));
        boxes += count;
        g_playerPos = {player(rng), player(rng), player(rng)};

        scribbleOverGrid(&junk);
        rebuildGridByScan();
        std::copy(g_grid, g_grid + kGridCellCount, expected.begin());
        scribbleOverGrid(&junk);
        rebuildGrid();

        bool same = true;
        for (int n = 0; n < kGridCellCount; ++n) {
            const GridCell& got = g_grid[n];
            const GridCell& want = expected[n];
            same = same && got.x == want.x && got.y == want.y && got.z == want.z &&
                   got.objects == want.objects;
        }
        if (!same) ++mismatchedScenes;
    }
    EXPECT_EQ(mismatchedScenes, 0);
    EXPECT_GT(boxes, 20000);
}

TEST_F(Grid, WarmRebuildDoesNotAllocate) {
    std::mt19937 rng(7);
    for (int n = 0; n < 136; ++n) g_objects.push_back(randomObject(rng));
    rebuildGrid();
    const long before = heapAllocations();
    for (int run = 0; run < 10; ++run) rebuildGrid();
    EXPECT_EQ(heapAllocations(), before);
}
