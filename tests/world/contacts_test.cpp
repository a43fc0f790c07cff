// The contact pass: which touching objects get hit, that it never scores, and that it matches a
// plain set-based pass on crowded scenes without allocating per object.
#include "world/contacts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <new>
#include <random>
#include <set>
#include <vector>

#include "play/game_lifecycle.h"
#include "core/game_state.h"
#include "support/fake_clock.h"
#include "support/allocation_counter.h"
#include "support/game_state_reset.h"
#include "world/grid.h"
#include "world/scene_objects.h"

namespace {

// A target that counts the hits it takes.
class CountingSphere : public Sphere {
public:
    CountingSphere(Vec3 pos, Vec3 radii, int points = 10)
        : Sphere(pos, radii, {0, 0, 0}, 1, 1, 1, 1, 1, 1, points) {}
    int hit() override {
        ++hits;
        return Sphere::hit();
    }
    int hits = 0;
};

// A view-attached piece that counts the hits it takes.
class CountingPiece : public PersonSphereStatic {
public:
    CountingPiece(Vec3 offset, Vec3 radii)
        : PersonSphereStatic(offset, radii, 1, 1, 1, {0, 0, 0}) {}
    int hit() override {
        ++hits;
        return PersonSphereStatic::hit();
    }
    int hits = 0;
};

CountingSphere* addTarget(Vec3 pos, Vec3 radii, int points = 10) {
    auto* target = new CountingSphere(pos, radii, points);
    g_objects.push_back(target);
    return target;
}

CountingPiece* addPiece(Vec3 offset, Vec3 radii) {
    auto* piece = new CountingPiece(offset, radii);
    g_objects.push_back(piece);
    return piece;
}

int hitsOf(const Object* object) {
    if (auto* s = dynamic_cast<const CountingSphere*>(object)) return s->hits;
    if (auto* p = dynamic_cast<const CountingPiece*>(object)) return p->hits;
    return -1;
}

class Contacts : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        g_fakeClockMs = 5000;
    }
};

}  // namespace

TEST_F(Contacts, EmptySceneOnlyRebuilds) {
    Sphere junk({0, 0, 0}, {1, 1, 1}, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 4);
    g_grid[17].objects.push_back(&junk);
    resolveContacts();
    EXPECT_TRUE(g_grid[17].objects.empty());
}

TEST_F(Contacts, TouchIsStrictlyBelowTwo) {
    CountingSphere* a = addTarget({0, 0, 0}, {1, 1, 1});
    CountingSphere* b = addTarget({1.9f, 0, 0}, {1, 1, 1});
    CountingSphere* c = addTarget({20, 0, 0}, {1, 1, 1});
    CountingSphere* d = addTarget({22, 0, 0}, {1, 1, 1});  // d exactly 2
    g_targetsLeft = 4;
    resolveContacts();
    EXPECT_TRUE(a->dying);
    EXPECT_TRUE(b->dying);
    EXPECT_EQ(a->hitTime, 5000);
    EXPECT_FALSE(c->dying);
    EXPECT_FALSE(d->dying);
    // Found once from each side: two hits each.
    EXPECT_EQ(a->hits, 2);
    EXPECT_EQ(b->hits, 2);
    EXPECT_EQ(g_score, 0);
    EXPECT_EQ(g_targetsLeft, 4);
}

TEST_F(Contacts, EachMeasuresInThePartnersOwnSpace) {
    CountingSphere* small = addTarget({0, 0, 0}, {0.5f, 0.5f, 0.5f});
    CountingSphere* large = addTarget({1.5f, 0, 0}, {1, 1, 1});
    EXPECT_EQ(small->distanceTo(1.5f, 0, 0), 3.0f);
    EXPECT_EQ(large->distanceTo(0, 0, 0), 1.5f);
    resolveContacts();
    EXPECT_TRUE(small->dying);
    EXPECT_TRUE(large->dying);
    // Only the small one, as the active object, finds its partner close enough.
    EXPECT_EQ(small->hits, 1);
    EXPECT_EQ(large->hits, 1);
}

TEST_F(Contacts, LiveTargetTouchingADyingOneDies) {
    CountingSphere* dying = addTarget({10, 10, 10}, {1, 1, 1}, 15);
    CountingSphere* live = addTarget({10, 11.5f, 10}, {1, 1, 1}, 15);
    g_fakeClockMs = 4000;
    dying->hit();
    g_fakeClockMs = 4200;
    g_targetsLeft = 2;
    g_score = 7;
    resolveContacts();
    EXPECT_TRUE(live->dying);
    EXPECT_EQ(live->hitTime, 4200);
    EXPECT_EQ(dying->hitTime, 4000);
    EXPECT_EQ(g_score, 7);
    EXPECT_EQ(g_targetsLeft, 2);
}

TEST_F(Contacts, PieceCountsOnlyWhereTheGridPutsIt) {
    CountingPiece* piece = addPiece({1, -6, 0}, {0.5f, 1, 1});
    CountingSphere* target = addTarget({1, -6, 0.5f}, {1, 1, 1});
    g_playerPos = {30, 0, 30};
    resolveContacts();
    EXPECT_FALSE(target->dying);
    EXPECT_EQ(piece->hits, 0);

    g_playerPos = {0, 0, 0};
    resolveContacts();
    EXPECT_TRUE(target->dying);
    EXPECT_EQ(target->hits, 1);
    EXPECT_EQ(piece->hits, 1);
    EXPECT_FALSE(piece->dying);
}

// A kicking piece that would reach the target if it were ever the active object.
TEST_F(Contacts, PiecesAreNeverTheActiveObject) {
    auto* piece = new PersonSphere({0, 0, 0}, {0.1f, 0.1f, 0.1f}, {0, 0, 0}, 1, 1, 1, 1, 1, 1,
                                   {5, 5, 5}, {0, 0, 0});
    g_objects.push_back(piece);
    CountingSphere* target = addTarget({3, 3, 3}, {5, 5, 5});
    ASSERT_LT(target->distanceTo(0, 0, 0), 2.0f);
    ASSERT_GT(piece->distanceTo(3, 3, 3), 2.0f);
    resolveContacts();
    EXPECT_FALSE(target->dying);
    EXPECT_FALSE(piece->dying);
    EXPECT_DOUBLE_EQ(g_pitch, 0);
}

TEST_F(Contacts, ActiveObjectIsNeverItsOwnPartner) {
    CountingSphere* alone = addTarget({-20, 5, 33}, {1, 1, 1});
    resolveContacts();
    EXPECT_FALSE(alone->dying);
    EXPECT_EQ(alone->hits, 0);
}

namespace {

// The pass as plainly described, with sets, counting the hits it would make.
std::map<const Object*, int> referenceHits() {
    rebuildGrid();
    std::map<const Object*, int> hits;
    for (Object* object : g_objects) {
        if (dynamic_cast<PersonSphere*>(object)) continue;
        const Sphere* a = static_cast<Sphere*>(object);
        const Vec3 c = object->position();
        const Vec3 r = a->radii;
        std::set<GridCell*> cells;
        for (float sx : {-1.0f, 1.0f})
            for (float sy : {-1.0f, 1.0f})
                for (float sz : {-1.0f, 1.0f}) {
                    // c - r and c + r exactly as the pass forms them.
                    const float x = sx < 0 ? c.x - r.x : c.x + r.x;
                    const float y = sy < 0 ? c.y - r.y : c.y + r.y;
                    const float z = sz < 0 ? c.z - r.z : c.z + r.z;
                    cells.insert(&gridCellAt(x, y, z));
                }
        std::set<Object*> candidates;
        for (GridCell* cell : cells)
            for (Object* o : cell->objects)
                if (o != object) candidates.insert(o);
        for (Object* b : candidates) {
            if (b->distanceTo(a->pos.x, a->pos.y, a->pos.z) < kTouchDistance) {
                ++hits[object];
                ++hits[b];
            }
        }
    }
    return hits;
}

// A crowded scene: targets packed into a small region, some already dying, some pieces.
void fillCrowd(std::mt19937& rng, int count, float spread, float radiusLow, float radiusHigh) {
    std::uniform_real_distribution<float> place(-spread, spread);
    std::uniform_real_distribution<float> radius(radiusLow, radiusHigh);
    std::uniform_real_distribution<float> unit(0, 1);
    const float cx = place(rng), cy = place(rng), cz = place(rng);
    for (int n = 0; n < count; ++n) {
        const Vec3 pos = {cx + place(rng), cy + place(rng), cz + place(rng)};
        const Vec3 radii = {radius(rng), radius(rng), radius(rng)};
        if (unit(rng) < 0.05f) {
            addPiece(pos, radii);
        } else {
            CountingSphere* target = addTarget(pos, radii);
            if (unit(rng) < 0.1f) {
                target->hit();
                target->hits = 0;
            }
        }
    }
}

}  // namespace

TEST_F(Contacts, MatchesTheSetBasedPassOnCrowdedScenes) {
    std::mt19937 rng(424242);
    std::uniform_real_distribution<float> player(-10, 10);
    int hitsSeen = 0;
    int mismatches = 0;
    for (int scene = 0; scene < 300; ++scene) {
        deleteAllObjects();
        g_playerPos = {player(rng), player(rng), player(rng)};
        // Every tenth scene piles more objects into one spot than the fixed buffer holds.
        if (scene % 10 == 0) {
            fillCrowd(rng, 150, 4, 0.2f, 1.5f);
        } else {
            fillCrowd(rng, 20 + scene % 60, 12 + scene % 30, 0.3f, 3.0f);
        }
        const std::map<const Object*, int> expected = referenceHits();
        resolveContacts();
        for (const Object* object : g_objects) {
            const auto found = expected.find(object);
            const int want = found == expected.end() ? 0 : found->second;
            if (hitsOf(object) != want) ++mismatches;
            if (const auto* s = dynamic_cast<const CountingSphere*>(object)) {
                if (want > 0 && !s->dying) ++mismatches;
            }
            hitsSeen += want;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(hitsSeen, 1000);  // the scenes really are crowded
}

TEST_F(Contacts, WarmPassDoesNotAllocate) {
    std::mt19937 rng(5);
    fillCrowd(rng, 120, 30, 0.5f, 2.0f);
    fillCrowd(rng, 150, 3, 0.2f, 1.0f);  // more than the fixed buffer around each
    resolveContacts();
    const long before = heapAllocations();
    resolveContacts();
    resolveContacts();
    EXPECT_EQ(heapAllocations(), before);
}
