// The contact pass: targets that touch another object start dying, scoring nothing.
#include "world/contacts.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "core/game_state.h"
#include "world/grid.h"
#include "world/scene_objects.h"

namespace {

constexpr int kCornerCount = 8;      // a box's corners, so at most eight distinct cells
constexpr int kNearbyCapacity = 64;  // candidates held without touching the heap

// A crowd that outgrows the fixed buffer gathers here; kept between passes so a crowd that
// stays costs no allocation after its first tick.
std::vector<Object*> s_crowd;

// The distinct cells holding the corners of an object's box.
int cornerCells(const Vec3& c, const Vec3& r, GridCell* cells[kCornerCount]) {
    const float xs[2] = {c.x - r.x, c.x + r.x};
    const float ys[2] = {c.y - r.y, c.y + r.y};
    const float zs[2] = {c.z - r.z, c.z + r.z};
    int count = 0;
    for (float x : xs) {
        for (float y : ys) {
            for (float z : zs) {
                GridCell* cell = &gridCellAt(x, y, z);
                if (std::find(cells, cells + count, cell) == cells + count) cells[count++] = cell;
            }
        }
    }
    return count;
}

// Fills nearby with the distinct objects listed in the cells, the active one left out.
// Returns the count, or -1 when they do not fit: then s_crowd holds them instead.
int gatherCandidates(GridCell* const cells[], int cellCount, const Object* active,
                     Object* nearby[kNearbyCapacity]) {
    int count = 0;
    for (int c = 0; c < cellCount; ++c) {
        for (Object* object : cells[c]->objects) {
            if (object == active) continue;
            if (std::find(nearby, nearby + count, object) != nearby + count) continue;
            if (count == kNearbyCapacity) return -1;
            nearby[count++] = object;
        }
    }
    return count;
}

void gatherCrowd(GridCell* const cells[], int cellCount, const Object* active) {
    s_crowd.clear();
    for (int c = 0; c < cellCount; ++c) {
        for (Object* object : cells[c]->objects) {
            if (object != active) s_crowd.push_back(object);
        }
    }
    std::sort(s_crowd.begin(), s_crowd.end(), std::less<Object*>());
    s_crowd.erase(std::unique(s_crowd.begin(), s_crowd.end()), s_crowd.end());
}

// Hit results are dropped: a contact never scores. A hit target stays hit, so the order in
// which partners are met changes nothing.
void touch(Sphere* active, Object* const partners[], int count) {
    for (int n = 0; n < count; ++n) {
        Object* partner = partners[n];
        if (partner->distanceTo(active->pos.x, active->pos.y, active->pos.z) < kTouchDistance) {
            active->hit();
            partner->hit();
        }
    }
}

}  // namespace

void resolveContacts() {
    rebuildGrid();
    if (g_objects.empty()) return;

    // By index: nothing here adds or removes an object.
    for (size_t n = 0; n < g_objects.size(); ++n) {
        Object* object = g_objects[n];
        // View-attached pieces are only ever the touched partner.
        if (dynamic_cast<PersonSphere*>(object)) continue;
        Sphere* active = static_cast<Sphere*>(object);

        GridCell* cells[kCornerCount];
        const int cellCount = cornerCells(active->position(), active->radii, cells);

        Object* nearby[kNearbyCapacity];
        const int nearbyCount = gatherCandidates(cells, cellCount, active, nearby);
        if (nearbyCount >= 0) {
            touch(active, nearby, nearbyCount);
        } else {
            gatherCrowd(cells, cellCount, active);
            touch(active, s_crowd.data(), static_cast<int>(s_crowd.size()));
        }
    }
}
