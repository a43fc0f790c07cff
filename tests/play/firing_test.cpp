// Firing: each weapon's ray pattern, the turn into the line of sight, the march through the
// grid, scoring and the shot's screen effects.
#include "play/firing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/game_state.h"
#include "core/random.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"
#include "world/grid.h"
#include "world/scene_objects.h"

namespace {

class Fire : public GameStateTest {};
class RayPattern : public GameStateTest {};

// A round target of the given size and worth, owned by g_objects.
Sphere* addTarget(Vec3 pos, float radius, int points) {
    Sphere* target = new Sphere(pos, {radius, radius, radius}, {0, 0, 0}, 1, 1, 1, 1, 1, 1, points);
    g_objects.push_back(target);
    return target;
}

// A seed after which random15 returns first and then second: run the generator backwards
// from every state whose result is first.
std::uint32_t seedForDraws(int first, int second) {
    const std::uint32_t a = 214013u, c = 2531011u;
    std::uint32_t inverse = a;  // Newton's iteration for a * inverse = 1 mod 2^32
    for (int k = 0; k < 5; ++k) inverse *= 2u - a * inverse;
    for (std::uint32_t high = 0; high < 2; ++high) {
        for (std::uint32_t low = 0; low < 65536; ++low) {
            const std::uint32_t x1 = (high << 31) | (std::uint32_t(first) << 16) | low;
            const std::uint32_t x2 = x1 * a + c;
            if (static_cast<int>((x2 >> 16) & 0x7FFF) == second) return (x1 - c) * inverse;
        }
    }
    ADD_FAILURE() << "no seed gives " << first << ", " << second;
    return 0;
}

}  // namespace

TEST_F(RayPattern, PistolIsOneFullRangeRayStraightAhead) {
    std::vector<Vec3> dirs;
    std::vector<float> factors;
    layOutRays(Pistol, dirs, factors);
    ASSERT_EQ(dirs.size(), 1u);
    ASSERT_EQ(factors.size(), 1u);
    EXPECT_EQ(dirs[0].x, 0.0f);
    EXPECT_EQ(dirs[0].y, 0.0f);
    EXPECT_EQ(dirs[0].z, 1.0f);
    EXPECT_EQ(factors[0], 1.0f);
}

TEST_F(RayPattern, ShotgunIsNineByNineXOuterYInner) {
    std::vector<Vec3> dirs = {{9, 9, 9}};  // stale contents are replaced
    std::vector<float> factors = {9};
    layOutRays(Shotgun, dirs, factors);
    ASSERT_EQ(dirs.size(), 81u);
    ASSERT_EQ(factors.size(), 81u);
    for (int n = 0; n < 81; ++n) {
        const double i = -2 + 0.5 * (n / 9);
        const double j = -2 + 0.5 * (n % 9);
        SCOPED_TRACE(n);
        EXPECT_EQ(dirs[n].x, static_cast<float>(0.1 * i));
        EXPECT_EQ(dirs[n].y, static_cast<float>(0.1 * j));
        EXPECT_EQ(dirs[n].z, 1.0f);
        EXPECT_EQ(factors[n], 0.25f);
    }
    EXPECT_EQ(dirs[1].y, static_cast<float>(-0.15));
    EXPECT_EQ(dirs[9].x, static_cast<float>(-0.15));
    EXPECT_EQ(dirs[40].x, 0.0f);
    EXPECT_EQ(dirs[80].x, static_cast<float>(0.2));
}

TEST_F(RayPattern, MachineGunSpreadTakesXThenYFromTwoDraws) {
    struct Case {
        int r1, r2;
        float x, y;
    };
    const Case cases[] = {
        {0, 0, 0.03125f, 0.03125f},
        {32767, 32767, -0.03125f, -0.03125f},
        {0, 32767, 0.03125f, -0.03125f},
        {32767, 0, -0.03125f, 0.03125f},
    };
    for (const Case& c : cases) {
        const std::uint32_t seed = seedForDraws(c.r1, c.r2);
        seedRandom(seed);
        ASSERT_EQ(random15(), c.r1);
        ASSERT_EQ(random15(), c.r2);
        const int third = random15();

        seedRandom(seed);
        std::vector<Vec3> dirs;
        std::vector<float> factors;
        layOutRays(MachineGun, dirs, factors);
        ASSERT_EQ(dirs.size(), 1u);
        EXPECT_EQ(dirs[0].x, c.x);
        EXPECT_EQ(dirs[0].y, c.y);
        EXPECT_EQ(dirs[0].z, 1.0f);
        EXPECT_EQ(factors[0], 1.0f);
        EXPECT_EQ(random15(), third);  // exactly two draws per shot
    }
}

TEST_F(Fire, PistolHitsATargetOnTheNegativeSceneZAxis) {
    Sphere* behind = addTarget({0, 0, 20}, 1, 15);
    Sphere* ahead = addTarget({0, 0, -20}, 1, 10);
    g_fakeClockMs = 4321;
    fire();
    EXPECT_TRUE(ahead->dying);
    EXPECT_EQ(ahead->hitTime, 4321);
    EXPECT_FALSE(behind->dying);
    EXPECT_EQ(g_score, 10);
    EXPECT_EQ(g_lastHitScore, 10);
    EXPECT_EQ(g_lastHitTime, 4321);
    EXPECT_EQ(g_crosshairKick, 6);
    EXPECT_TRUE(g_justFired);
    EXPECT_FALSE(g_recoilActive);
}

TEST_F(Fire, RaysStartAtThePlayerWithZMirrored) {
    g_playerPos = {10, 5, 30};  // stands at scene (10, 5, -30)
    Sphere* onAxis = addTarget({0, 0, -45}, 1, 4);
    Sphere* unmirrored = addTarget({10, 5, 20}, 1, 15);
    Sphere* ahead = addTarget({10, 5, -45}, 1, 5);
    fire();
    EXPECT_TRUE(ahead->dying);
    EXPECT_FALSE(onAxis->dying);
    EXPECT_FALSE(unmirrored->dying);
    EXPECT_EQ(g_score, 5);
}

TEST_F(Fire, TheStartingPointIsNotTested) {
    Sphere* around = addTarget({0, 0, 0}, 0.05f, 10);  // holds the eye, not the first step
    fire();
    EXPECT_FALSE(around->dying);
    EXPECT_EQ(g_score, 0);
}

TEST_F(Fire, PitchThenYawTurnTheShot) {
    g_yaw = 90;     // right: scene +x
    g_pitch = -45;  // up
    Sphere* level = addTarget({20, 0, 0}, 1, 4);
    Sphere* upRight = addTarget({14.142136f, 14.142136f, 0}, 0.5f, 5);
    fire();
    EXPECT_TRUE(upRight->dying);
    EXPECT_FALSE(level->dying);
    EXPECT_EQ(g_score, 5);
}

TEST_F(Fire, RollTurnsTheShotgunPattern) {
    // The corner pellet (0.2, 0.2) rolled by 45 degrees points straight up the middle.
    Sphere* rolledCorner = addTarget({0, 8.485281f, -30}, 0.5f, 4);
    fire();  // pistol: nowhere near
    g_weapon = Shotgun;
    fire();
    EXPECT_FALSE(rolledCorner->dying);  // the nearest unrolled pellet passes at y = 6

    g_recoilActive = false;
    g_roll = 45;
    fire();
    EXPECT_TRUE(rolledCorner->dying);
    EXPECT_EQ(g_score, 3);
}

TEST_F(Fire, ShotgunReachesTheCornersOfItsFanAndNoFurther) {
    g_weapon = Shotgun;
    Sphere* corner = addTarget({6, 6, -30}, 0.5f, 4);             // pellet (0.2, 0.2)
    Sphere* beyond = addTarget({-7.5f, 7.5f, -30}, 0.5f, 4);      // would be (-0.25, 0.25)
    Sphere* between = addTarget({-5.25f, -5.25f, -30}, 0.5f, 4);  // between four pellets
    fire();
    EXPECT_TRUE(corner->dying);
    EXPECT_FALSE(beyond->dying);
    EXPECT_FALSE(between->dying);
    EXPECT_EQ(g_score, 3);
    EXPECT_EQ(g_crosshairKick, 14);
    EXPECT_TRUE(g_recoilActive);
    EXPECT_EQ(g_recoilOffset, 0.0);
    EXPECT_EQ(g_recoilVelocity, 1.0);
}

TEST_F(Fire, ShotgunScoresATargetOnceAtThreeQuarters) {
    g_weapon = Shotgun;
    Sphere* big = addTarget({0, 0, -10}, 1.2f, 10);  // many pellets reach it
    fire();
    EXPECT_TRUE(big->dying);
    EXPECT_EQ(g_score, 7);
    EXPECT_EQ(g_lastHitScore, 7);
}

TEST_F(Fire, ShotgunTruncatesTheRunningSumAfterEachTarget) {
    g_weapon = Shotgun;
    addTarget({0, 0, -10}, 0.3f, 10);
    addTarget({2, 0, -10}, 0.3f, 10);  // pellet (0.2, 0)
    fire();
    EXPECT_EQ(g_score, 14);  // trunc(7 + 7.5), not 15

    g_recoilActive = false;
    g_score = 0;
    addTarget({0, 2, -10}, 0.3f, 5);
    addTarget({-2, 0, -10}, 0.3f, 5);
    addTarget({0, -2, -10}, 0.3f, 5);
    fire();
    EXPECT_EQ(g_score, 9);  // 3, then trunc(6.75), then trunc(9.75); not 11
}

TEST_F(Fire, ShotgunRangeEndsAt43Point75) {
    g_weapon = Shotgun;
    Sphere* far = addTarget({0, 0, -44.5f}, 0.6f, 10);  // near side at -43.9
    fire();
    EXPECT_FALSE(far->dying);
    EXPECT_EQ(g_score, 0);

    g_weapon = Pistol;
    fire();
    EXPECT_TRUE(far->dying);

    g_weapon = Shotgun;
    g_recoilActive = false;
    Sphere* near = addTarget({0, 0, -43.5f}, 0.6f, 4);  // near side at -42.9
    fire();
    EXPECT_TRUE(near->dying);
}

TEST_F(Fire, RayEndsWhenItLeavesTheArena) {
    // Its part inside the arena lies off the ray; its part outside lies across it.
    Sphere* outside = addTarget({0, 3, -53}, 1, 10);
    outside->radii = {1, 3.5f, 4};
    ASSERT_TRUE(outside->contains(0, 0, -53));
    fire();
    EXPECT_FALSE(outside->dying);
}

TEST_F(Fire, FirstContainingObjectInListOrderTakesTheHit) {
    Sphere* first = addTarget({0, 0, -10}, 1, 4);
    Sphere* second = addTarget({0, 0, -10}, 1, 15);
    fire();
    EXPECT_TRUE(first->dying);
    EXPECT_FALSE(second->dying);
    EXPECT_EQ(g_score, 4);
}

TEST_F(Fire, DyingTargetBlocksWithoutScoring) {
    Sphere* dying = addTarget({0, 0, -10}, 1, 10);
    Sphere* behind = addTarget({0, 0, -20}, 1, 10);
    g_fakeClockMs = 50;
    dying->hit();
    g_fakeClockMs = 900;
    g_score = 20;
    g_lastHitScore = 5;
    g_lastHitTime = 30;
    fire();
    EXPECT_FALSE(behind->dying);
    EXPECT_EQ(dying->hitTime, 50);  // hit() was not called again
    EXPECT_EQ(g_score, 20);
    EXPECT_EQ(g_lastHitScore, 5);
    EXPECT_EQ(g_lastHitTime, 30);
}

TEST_F(Fire, ViewAttachedPieceStopsRaysWithoutScoring) {
    auto* piece = new PersonSphereStatic({0, 0, -5}, {1, 1, 1}, 1, 1, 1, {0, 0, 0});
    g_objects.push_back(piece);
    Sphere* behind = addTarget({0, 0, -20}, 1, 10);
    fire();
    EXPECT_FALSE(behind->dying);
    EXPECT_FALSE(piece->dying);
    EXPECT_EQ(g_score, 0);
    EXPECT_EQ(g_lastHitTime, 0);
    EXPECT_EQ(g_pitch, 0.0);
    EXPECT_EQ(g_yaw, 0.0);
    EXPECT_EQ(g_roll, 0.0);
    fire();
    EXPECT_FALSE(behind->dying);  // and again on the next shot
}

TEST_F(Fire, ShotgunLockedOutDuringRecoilChangesNothing) {
    g_weapon = Shotgun;
    g_recoilActive = true;
    g_recoilOffset = 0.4;
    g_recoilVelocity = -0.2;
    g_crosshairKick = 3;
    Sphere* ahead = addTarget({0, 0, -10}, 1, 10);
    fire();
    EXPECT_FALSE(ahead->dying);
    EXPECT_TRUE(g_recoilActive);
    EXPECT_EQ(g_recoilOffset, 0.4);
    EXPECT_EQ(g_recoilVelocity, -0.2);
    EXPECT_EQ(g_crosshairKick, 3);
    EXPECT_FALSE(g_justFired);
    EXPECT_EQ(g_score, 0);
    EXPECT_EQ(g_lastHitTime, 0);
}

TEST_F(Fire, MachineGunSpreadDecidesWhatItHits) {
    g_weapon = MachineGun;
    // At 40 units the spread puts the ray 1.25 units off-centre on each axis.
    Sphere* upRight = addTarget({1.25f, 1.25f, -40}, 0.3f, 10);
    Sphere* downLeft = addTarget({-1.25f, -1.25f, -40}, 0.3f, 10);
    seedRandom(seedForDraws(32767, 32767));
    fire();
    EXPECT_TRUE(downLeft->dying);
    EXPECT_FALSE(upRight->dying);
    EXPECT_EQ(g_score, 10);  // full points
    EXPECT_EQ(g_crosshairKick, 2);

    seedRandom(seedForDraws(0, 0));
    fire();
    EXPECT_TRUE(upRight->dying);
    EXPECT_EQ(g_score, 20);
}

TEST_F(Fire, AMissLeavesScoreAndPopupAlone) {
    addTarget({0, 0, 20}, 1, 10);  // behind the player
    g_score = 49;
    g_lastHitScore = 6;
    g_lastHitTime = 77;
    g_fakeClockMs = 5000;
    fire();
    EXPECT_EQ(g_score, 49);
    EXPECT_EQ(g_lastHitScore, 6);
    EXPECT_EQ(g_lastHitTime, 77);
    EXPECT_TRUE(g_noticeText.empty());
    EXPECT_TRUE(g_justFired);
}

TEST_F(Fire, AShotFromTheTitleScreenStillKicks) {
    fire();
    EXPECT_EQ(g_crosshairKick, 6);
    EXPECT_TRUE(g_justFired);

    g_justFired = false;
    g_weapon = Shotgun;
    fire();
    EXPECT_EQ(g_crosshairKick, 14);
    EXPECT_TRUE(g_recoilActive);
    EXPECT_EQ(g_recoilVelocity, 1.0);
    EXPECT_TRUE(g_justFired);
    EXPECT_EQ(g_score, 0);
    EXPECT_EQ(g_lastHitTime, 0);
}

TEST_F(Fire, GridIsRebuiltOnEveryShot) {
    Sphere* target = addTarget({0, 20, -20}, 1, 10);
    fire();
    EXPECT_FALSE(target->dying);
    target->pos = {0, 0, -20};  // moved since the last rebuild
    fire();
    EXPECT_TRUE(target->dying);

    // A weapon value without rays still rebuilds, and still marks the shot.
    Sphere* moved = addTarget({30, 30, 30}, 1, 10);
    g_weapon = static_cast<Weapon>(3);
    g_justFired = false;
    g_crosshairKick = 0;
    fire();
    const std::vector<Object*>& cell = gridCellAt(30, 30, 30).objects;
    EXPECT_NE(std::find(cell.begin(), cell.end(), moved), cell.end());
    EXPECT_TRUE(g_justFired);
    EXPECT_EQ(g_crosshairKick, 0);
    EXPECT_FALSE(moved->dying);
}
