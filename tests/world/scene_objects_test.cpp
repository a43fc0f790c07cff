// Scene objects without drawing: ellipsoid distance, containment, hits and grid position.
#include "world/scene_objects.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/game_state.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"

namespace {

// The smallest concrete Object, to reach the base class's own contains and position.
class BareObject : public Object {
public:
    explicit BareObject(Vec3 p) : Object(p) {}
    float distanceTo(float, float, float) override { return 0; }
    void draw() override {}
    int hit() override { return 0; }
};

Sphere makeTarget(Vec3 pos, Vec3 radii, int points = 10) {
    return Sphere(pos, radii, {0.5f, 0, 0}, 0, 0, 1, 0, 0, 1, points);
}

class SceneObjects : public GameStateTest {};

}  // namespace

TEST_F(SceneObjects, ConstructorsFillTheDerivedFields) {
    const Sphere target({1, 2, 3}, {0.8f, 0.9f, 1}, {0.1f, 0.2f, 0.3f}, 0.2f, 0.8f, 0.3f, 0.4f,
                        0.5f, 0.6f, 15);
    EXPECT_FLOAT_EQ(target.diffuse[1], 0.8f);
    EXPECT_FLOAT_EQ(target.diffuse[3], 1.0f);
    EXPECT_FLOAT_EQ(target.specular[2], 0.6f);
    EXPECT_FLOAT_EQ(target.specular[3], 1.0f);
    EXPECT_FALSE(target.dying);
    EXPECT_FALSE(target.expired);
    EXPECT_EQ(target.slices, 128);
    EXPECT_EQ(target.points, 15);

    const PersonSphereStatic piece({1, -4.5f, 0.3f}, {0.3f, 2, 0.3f}, 0, 0, 1, {-20, 0, 5});
    EXPECT_EQ(piece.velocity.x, 0);
    EXPECT_EQ(piece.velocity.y, 0);
    EXPECT_EQ(piece.velocity.z, 0);
    EXPECT_EQ(piece.kick.x, 0);
    EXPECT_EQ(piece.kick.y, 0);
    EXPECT_EQ(piece.kick.z, 0);
    EXPECT_FLOAT_EQ(piece.diffuse[2], 1.0f);
    EXPECT_FLOAT_EQ(piece.specular[2], 1.0f);
    EXPECT_FLOAT_EQ(piece.rotation.x, -20);
    EXPECT_FLOAT_EQ(piece.rotation.z, 5);
    EXPECT_EQ(piece.points, 0);
    EXPECT_FALSE(piece.dying);
}

TEST_F(SceneObjects, DistanceIsNormalisedPerAxis) {
    Sphere target = makeTarget({1, 2, 3}, {0.5f, 2, 4});
    EXPECT_EQ(target.distanceTo(1, 2, 3), 0.0f);
    // On the surface along each axis, from either side.
    EXPECT_EQ(target.distanceTo(1.5f, 2, 3), 1.0f);
    EXPECT_EQ(target.distanceTo(0.5f, 2, 3), 1.0f);
    EXPECT_EQ(target.distanceTo(1, 4, 3), 1.0f);
    EXPECT_EQ(target.distanceTo(1, 2, -1), 1.0f);
    // On the ellipsoid of twice the semi-axes.
    EXPECT_EQ(target.distanceTo(2, 2, 3), 2.0f);
    EXPECT_EQ(target.distanceTo(1, 2, 11), 2.0f);
    // Off-axis: 0.6 and 0.8 of two semi-axes lie on the surface.
    EXPECT_NEAR(target.distanceTo(1.3f, 3.6f, 3), 1.0f, 1e-6f);
    // (0.5/0.5, 2/2, 4/4) = (1, 1, 1): sqrt(3).
    EXPECT_NEAR(target.distanceTo(0.5f, 0, 7), std::sqrt(3.0f), 1e-6f);
}

TEST_F(SceneObjects, ContainsOnlyStrictlyInside) {
    Sphere target = makeTarget({-10, 0, 5}, {1, 0.75f, 0.5f});
    EXPECT_TRUE(target.contains(-10, 0, 5));
    EXPECT_TRUE(target.contains(-9.01f, 0, 5));
    EXPECT_TRUE(target.contains(-10, -0.74f, 5));
    EXPECT_FALSE(target.contains(-9, 0, 5));  // on the surface
    EXPECT_FALSE(target.contains(-10, 0.75f, 5));
    EXPECT_FALSE(target.contains(-10, 0, 4.5f));
    EXPECT_FALSE(target.contains(-10, 0, 5.51f));
    // Inside the bounding box, outside the ellipsoid.
    EXPECT_FALSE(target.contains(-9.2f, 0.6f, 5));
}

TEST_F(SceneObjects, ObjectContainsAnyPointButItsOwnPosition) {
    BareObject object({3, -4, 12});
    EXPECT_FALSE(object.contains(3, -4, 12));
    EXPECT_TRUE(object.contains(3, -4, 12.5f));
    EXPECT_TRUE(object.contains(0, 0, 0));
    EXPECT_TRUE(object.contains(1000, 1000, 1000));
    EXPECT_EQ(object.position().x, 3);
    EXPECT_EQ(object.position().y, -4);
    EXPECT_EQ(object.position().z, 12);
}

TEST_F(SceneObjects, SecondHitScoresAgainButKeepsTheFlash) {
    Sphere target = makeTarget({0, 0, 0}, {1, 1, 1}, 15);
    g_fakeClockMs = 4000;
    EXPECT_EQ(target.hit(), 15);
    EXPECT_TRUE(target.dying);
    EXPECT_EQ(target.hitTime, 4000);

    g_fakeClockMs = 4300;
    EXPECT_EQ(target.hit(), 15);
    EXPECT_TRUE(target.dying);
    EXPECT_EQ(target.hitTime, 4000);
    EXPECT_FALSE(target.expired);
    EXPECT_EQ(g_score, 0);
}

TEST_F(SceneObjects, PersonSphereKicksTheViewOnce) {
    PersonSphere piece({0, -3, 0}, {1, 1, 1}, {0, 0, 0}, 1, 1, 1, 1, 1, 1, {5, -7.5f, 2},
                       {0, 0, 0});
    g_pitch = 88;  // the kick is not clamped
    g_yaw = 3;
    g_roll = 0.25;
    g_fakeClockMs = 777;
    EXPECT_EQ(piece.hit(), 0);
    EXPECT_TRUE(piece.dying);
    EXPECT_EQ(piece.hitTime, 777);
    EXPECT_DOUBLE_EQ(g_pitch, 93);
    EXPECT_DOUBLE_EQ(g_yaw, -4.5);
    EXPECT_DOUBLE_EQ(g_roll, 2.25);

    g_fakeClockMs = 900;
    EXPECT_EQ(piece.hit(), 0);
    EXPECT_EQ(piece.hitTime, 777);
    EXPECT_DOUBLE_EQ(g_pitch, 93);
    EXPECT_DOUBLE_EQ(g_yaw, -4.5);
    EXPECT_DOUBLE_EQ(g_roll, 2.25);
}

TEST_F(SceneObjects, StaticPieceIgnoresHits) {
    PersonSphereStatic piece({1, -6, 0}, {0.5f, 1, 1}, 1, 1, 1, {0, 0, 30});
    // Give it a kick anyway: a static piece must not use it.
    piece.kick = {10, 10, 10};
    g_pitch = 12;
    g_fakeClockMs = 2500;
    EXPECT_EQ(piece.hit(), 0);
    EXPECT_EQ(piece.hit(), 0);
    EXPECT_FALSE(piece.dying);
    EXPECT_EQ(piece.hitTime, 0);
    EXPECT_DOUBLE_EQ(g_pitch, 12);
    EXPECT_DOUBLE_EQ(g_yaw, 0);
    EXPECT_DOUBLE_EQ(g_roll, 0);
}

TEST_F(SceneObjects, PiecePositionIsOffsetPlusPlayerUnrotated) {
    PersonSphereStatic piece({1, -6, 0.5f}, {0.5f, 1, 1}, 1, 1, 1, {0, 0, 0});
    Object& asObject = piece;
    g_playerPos = {30, 2, 30};
    g_yaw = 90;
    const Vec3 p = asObject.position();
    EXPECT_EQ(p.x, 31);
    EXPECT_EQ(p.y, -4);
    EXPECT_EQ(p.z, 30.5f);
    // The stored offset itself is untouched.
    EXPECT_EQ(piece.pos.x, 1);

    // A target's position ignores the player.
    Sphere target = makeTarget({7, 8, 9}, {1, 1, 1});
    const Vec3 t = static_cast<Object&>(target).position();
    EXPECT_EQ(t.x, 7);
    EXPECT_EQ(t.y, 8);
    EXPECT_EQ(t.z, 9);
}

TEST_F(SceneObjects, PieceMeasuresFromItsStoredOffset) {
    PersonSphereStatic piece({1, -6, 0}, {0.5f, 1, 1}, 1, 1, 1, {0, 0, -30});
    for (const Vec3 player : {Vec3{0, 0, 0}, Vec3{30, 0, 30}, Vec3{-45, 20, 10}}) {
        g_playerPos = player;
        g_yaw = player.x;
        EXPECT_TRUE(piece.contains(1, -6, 0));
        EXPECT_FALSE(piece.contains(1 + player.x, -6 + player.y, player.z + 2));
        EXPECT_EQ(piece.distanceTo(1, -6, 0.5f), 0.5f);
    }
}
