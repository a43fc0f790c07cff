// Player movement: normalize, the step along the line of sight and the allowed region.
#include "play/movement.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/game_state.h"
#include "support/game_state_reset.h"

namespace {

class MovePlayer : public GameStateTest {};

bool sameBits(const Vec3& a, const Vec3& b) {
    return std::memcmp(&a, &b, sizeof(Vec3)) == 0;
}

}  // namespace

TEST(Normalize, ScalesToUnitLengthAndLeavesZeroAlone) {
    Vec3 v = {3, 0, 4};
    normalize(v);
    EXPECT_EQ(v.x, 0.6f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.8f);

    Vec3 zero = {0, 0, 0};
    normalize(zero);
    EXPECT_TRUE(sameBits(zero, Vec3{0, 0, 0}));

    Vec3 down = {0, -2.5f, 0};
    normalize(down);
    EXPECT_EQ(down.y, -1.0f);
}

TEST_F(MovePlayer, EachKeyStepsHalfAUnitAtPitchAndYawZero) {
    struct Case {
        Vec3 dir;
        Vec3 expected;
    };
    const Case cases[] = {
        {{0, 0, -1}, {0, 0, 0.5f}},  // W: the scene z decreases
        {{0, 0, 1}, {0, 0, -0.5f}},  // S
        {{1, 0, 0}, {-0.5f, 0, 0}},  // A
        {{-1, 0, 0}, {0.5f, 0, 0}},  // D
    };
    for (const Case& c : cases) {
        g_playerPos = {0, 0, 0};
        g_moveDir = c.dir;
        movePlayer();
        EXPECT_EQ(g_playerPos.x, c.expected.x);
        EXPECT_EQ(g_playerPos.y, c.expected.y);
        EXPECT_EQ(g_playerPos.z, c.expected.z);
    }
    g_moveDir = {0, 0, -1};
    movePlayer();
    movePlayer();
    EXPECT_EQ(g_playerPos.z, 1.0f);
}

TEST_F(MovePlayer, ForwardFollowsYawAndPitch) {
    g_moveDir = {0, 0, -1};
    g_yaw = 90;  // looking along the scene's +x
    movePlayer();
    EXPECT_FLOAT_EQ(g_playerPos.x, 0.5f);
    EXPECT_NEAR(g_playerPos.z, 0, 1e-6);

    g_playerPos = {0, 0, 0};
    g_yaw = 0;
    g_pitch = 45;  // looking down
    movePlayer();
    EXPECT_NEAR(g_playerPos.y, -0.35355339, 1e-6);
    EXPECT_NEAR(g_playerPos.z, 0.35355339, 1e-6);
    EXPECT_EQ(g_playerPos.x, 0.0f);
}

TEST_F(MovePlayer, StrafeStaysLevelWhateverThePitch) {
    g_moveDir = {-1, 0, 0};
    g_pitch = -60;
    movePlayer();
    EXPECT_EQ(g_playerPos.x, 0.5f);
    EXPECT_EQ(g_playerPos.y, 0.0f);
}

TEST_F(MovePlayer, ClimbingStraightUpStopsBelowTheCeiling) {
    g_moveDir = {0, 0, -1};
    g_pitch = -90;
    movePlayer();
    EXPECT_FLOAT_EQ(g_playerPos.y, 0.5f);
    for (int tick = 1; tick < 95; ++tick) movePlayer();
    EXPECT_FLOAT_EQ(g_playerPos.y, 47.5f);
    for (int tick = 0; tick < 10; ++tick) movePlayer();
    EXPECT_FLOAT_EQ(g_playerPos.y, 47.5f);  // 48 is refused
}

TEST_F(MovePlayer, FloorBoundIsStrict) {
    g_moveDir = {0, 0, -1};
    g_pitch = 90;  // straight down
    g_playerPos = {0, -43.5f, 0};
    movePlayer();
    EXPECT_EQ(g_playerPos.y, -43.5f);

    g_playerPos = {0, -43.25f, 0};
    movePlayer();
    EXPECT_EQ(g_playerPos.y, -43.75f);
}

TEST_F(MovePlayer, SidesAreStrictAtFortyEight) {
    g_moveDir = {-1, 0, 0};  // D: +x
    g_playerPos = {47.5f, 0, 0};
    movePlayer();
    EXPECT_EQ(g_playerPos.x, 47.5f);

    g_moveDir = {0, 0, 1};  // S: -z in the player frame
    g_playerPos = {0, 0, -47.5f};
    movePlayer();
    EXPECT_EQ(g_playerPos.z, -47.5f);
}

TEST_F(MovePlayer, SlidesAlongAWall) {
    g_moveDir = {-0.70710678f, 0, -0.70710678f};  // D and W
    g_playerPos = {47.8f, 3, 10};
    movePlayer();
    EXPECT_EQ(g_playerPos.x, 47.8f);
    EXPECT_EQ(g_playerPos.y, 3.0f);
    EXPECT_NEAR(g_playerPos.z, 10.353553f, 1e-5);
    movePlayer();
    EXPECT_EQ(g_playerPos.x, 47.8f);
    EXPECT_NEAR(g_playerPos.z, 10.707107f, 1e-5);
}

TEST_F(MovePlayer, NoKeyHeldChangesNotEvenALastBit) {
    const Vec3 start = {1.1f, -2.3f, 7.7f};
    g_playerPos = start;
    g_pitch = 33.3;
    g_yaw = 123.4;
    for (int tick = 0; tick < 10; ++tick) movePlayer();
    EXPECT_TRUE(sameBits(g_playerPos, start));

    g_moveDir = {-0.0f, 0, 0};  // a negative zero is still no direction
    movePlayer();
    EXPECT_TRUE(sameBits(g_playerPos, start));
}
