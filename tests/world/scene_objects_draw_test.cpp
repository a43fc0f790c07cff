// Drawing scene objects as GL state: the dying flash and expiry, bouncing, advancing, materials.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <vector>

#include "core/game_state.h"
#include "core/gl.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"
#include "world/scene_objects.h"

namespace {

using Rgba = std::array<float, 4>;

constexpr Rgba kBright = {1, 0, 0, 1};
constexpr Rgba kDim = {0.6f, 0, 0, 0};
constexpr Rgba kNoSpecular = {0, 0, 0, 0};
constexpr Rgba kMarker = {0.1f, 0.2f, 0.3f, 0.4f};  // a value no object ever sets

Rgba material(GLenum which) {
    Rgba v;
    glGetMaterialfv(GL_FRONT, which, v.data());
    return v;
}

void setAllMaterial(const Rgba& v) {
    glMaterialfv(GL_FRONT, GL_DIFFUSE, v.data());
    glMaterialfv(GL_FRONT, GL_AMBIENT, v.data());
    glMaterialfv(GL_FRONT, GL_SPECULAR, v.data());
}

std::array<float, 16> modelview() {
    std::array<float, 16> m;
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

int modelviewDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}

Sphere makeTarget(Vec3 pos, Vec3 velocity) {
    return Sphere(pos, {1, 1, 1}, velocity, 0.2f, 0.8f, 0.3f, 0.5f, 0.6f, 0.7f, 15);
}

class SceneObjectsDraw : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        openGameWindow();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -80);  // something other than the identity to keep
        const float arena[6] = {-50, -50, 50, 50, 50, -50};
        for (int i = 0; i < 6; ++i) g_arena[i] = arena[i];
    }
};

}  // namespace

TEST_F(SceneObjectsDraw, FlashColourFollowsTimeSinceHit) {
    struct Case {
        int ms;
        Rgba diffuse;
    };
    const Case cases[] = {
        {0, kBright}, {50, kBright},  {100, kBright}, {101, kDim},    {150, kDim},
        {199, kDim},  {200, kBright}, {250, kBright}, {300, kBright}, {301, kDim},
        {350, kDim},  {399, kDim},    {400, kBright}, {450, kBright}, {500, kBright},
    };
    Sphere target = makeTarget({5, 6, 7}, {0.25f, 0.25f, 0.25f});
    g_fakeClockMs = 10000;
    target.hit();
    g_targetsLeft = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        g_fakeClockMs = 10000 + c.ms;
        setAllMaterial(kMarker);
        target.draw();
        EXPECT_EQ(material(GL_DIFFUSE), c.diffuse);
        EXPECT_EQ(material(GL_SPECULAR), kNoSpecular);
        EXPECT_EQ(material(GL_AMBIENT), kMarker);  // the flash leaves ambient alone
        EXPECT_FALSE(target.expired);
    }
    // A dying target hangs still.
    EXPECT_EQ(target.pos.x, 5);
    EXPECT_EQ(target.pos.y, 6);
    EXPECT_EQ(target.pos.z, 7);
    EXPECT_EQ(target.velocity.x, 0.25f);
    EXPECT_EQ(g_targetsLeft, 3);
}

TEST_F(SceneObjectsDraw, ExpiresOnceTheHalfSecondIsOver) {
    Sphere target = makeTarget({0, 0, 0}, {0, 0, 0});
    g_fakeClockMs = 2000;
    target.hit();
    g_targetsLeft = 7;
    const auto matrix = modelview();
    const int depth = modelviewDepth();

    g_fakeClockMs = 2501;
    setAllMaterial(kMarker);
    target.draw();
    EXPECT_TRUE(target.expired);
    EXPECT_EQ(g_targetsLeft, 6);
    // Nothing drawn: no material was set, and the matrix is as it was.
    EXPECT_EQ(material(GL_DIFFUSE), kMarker);
    EXPECT_EQ(material(GL_SPECULAR), kMarker);
    EXPECT_EQ(modelview(), matrix);
    EXPECT_EQ(modelviewDepth(), depth);
}

TEST_F(SceneObjectsDraw, FlashTimingSurvivesClockWrap) {
    Sphere target = makeTarget({0, 0, 0}, {0, 0, 0});
    g_fakeClockMs = INT_MAX - 100;
    target.hit();
    g_targetsLeft = 1;

    g_fakeClockMs = INT_MIN + 50;  // 151 ms after the hit
    target.draw();
    EXPECT_EQ(material(GL_DIFFUSE), kDim);
    EXPECT_FALSE(target.expired);

    g_fakeClockMs = INT_MIN + 500;  // 601 ms after the hit
    target.draw();
    EXPECT_TRUE(target.expired);
    EXPECT_EQ(g_targetsLeft, 0);
}

TEST_F(SceneObjectsDraw, LiveTargetSetsItsMaterialAndAdvances) {
    Sphere target = makeTarget({1, 2, 3}, {0.5f, -0.25f, 0.125f});
    const auto matrix = modelview();
    const int depth = modelviewDepth();
    setAllMaterial(kMarker);
    target.draw();
    EXPECT_EQ(material(GL_DIFFUSE), (Rgba{0.2f, 0.8f, 0.3f, 1}));
    EXPECT_EQ(material(GL_AMBIENT), (Rgba{0.2f, 0.8f, 0.3f, 1}));
    EXPECT_EQ(material(GL_SPECULAR), (Rgba{0.5f, 0.6f, 0.7f, 1}));
    EXPECT_EQ(target.pos.x, 1.5f);
    EXPECT_EQ(target.pos.y, 1.75f);
    EXPECT_EQ(target.pos.z, 3.125f);
    EXPECT_EQ(modelview(), matrix);
    EXPECT_EQ(modelviewDepth(), depth);
}

// An arena with six different bounds, so each wall is read from its own slot.
TEST_F(SceneObjectsDraw, EachWallTurnsItsOwnAxis) {
    const float arena[6] = {-10, -20, 30, 40, 50, -60};  // minX, minY, maxZ, maxX, maxY, minZ
    for (int i = 0; i < 6; ++i) g_arena[i] = arena[i];
    struct Case {
        Vec3 pos;
        int turned;  // 0 x, 1 y, 2 z, -1 none
    };
    const Case cases[] = {
        {{-9.5f, 0, 0}, 0},  {{39.5f, 0, 0}, 0}, {{0, -19.5f, 0}, 1}, {{0, 49.5f, 0}, 1},
        {{0, 0, -59.5f}, 2}, {{0, 0, 29.5f}, 2}, {{0, 0, 0}, -1},     {{-8.5f, 48.5f, -58.5f}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pos.x << ", " << c.pos.y << ", " << c.pos.z);
        Sphere target = makeTarget(c.pos, {0.125f, 0.25f, 0.5f});
        target.draw();
        EXPECT_EQ(target.velocity.x, c.turned == 0 ? -0.125f : 0.125f);
        EXPECT_EQ(target.velocity.y, c.turned == 1 ? -0.25f : 0.25f);
        EXPECT_EQ(target.velocity.z, c.turned == 2 ? -0.5f : 0.5f);
        // Moved by the velocity as it stands after the bounce.
        EXPECT_EQ(target.pos.x, c.pos.x + target.velocity.x);
        EXPECT_EQ(target.pos.z, c.pos.z + target.velocity.z);
    }
}

TEST_F(SceneObjectsDraw, MarginsAreStrict) {
    struct Case {
        Vec3 pos;
        bool turns;
    };
    const Case cases[] = {
        {{-49, 0, 0}, false},
        {{49, 0, 0}, false},
        {{0, -49, 0}, false},
        {{0, 0, 49}, false},
        {{std::nextafter(-49.0f, -50.0f), 0, 0}, true},
        {{std::nextafter(49.0f, 50.0f), 0, 0}, true},
        {{0, std::nextafter(49.0f, 50.0f), 0}, true},
        {{0, 0, std::nextafter(-49.0f, -50.0f)}, true},
        // Far outside: the centre is not pushed back, it only turns.
        {{0, 0, 75}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pos.x << ", " << c.pos.y << ", " << c.pos.z);
        Sphere target = makeTarget(c.pos, {1, 1, 1});
        target.draw();
        const float sum = target.velocity.x + target.velocity.y + target.velocity.z;
        EXPECT_EQ(sum, c.turns ? 1.0f : 3.0f);
    }
}

// z before x before y: with all three inside their margins only z turns; x turns on the next
// tick and then rocks in and out every tick, and y is never reached.
TEST_F(SceneObjectsDraw, BounceChainTurnsOneAxisPerTick) {
    Sphere target = makeTarget({-49.5f, -49.5f, -49.0625f}, {-0.125f, -0.125f, -0.125f});
    target.draw();
    EXPECT_EQ(target.velocity.z, 0.125f);
    EXPECT_EQ(target.velocity.x, -0.125f);
    EXPECT_EQ(target.velocity.y, -0.125f);
    EXPECT_EQ(target.pos.x, -49.625f);
    EXPECT_EQ(target.pos.z, -48.9375f);

    std::vector<float> xs;
    for (int tick = 0; tick < 6; ++tick) {
        target.draw();
        xs.push_back(target.pos.x);
        EXPECT_EQ(target.velocity.y, -0.125f);
    }
    EXPECT_EQ(xs, (std::vector<float>{-49.5f, -49.625f, -49.5f, -49.625f, -49.5f, -49.625f}));
    EXPECT_EQ(target.velocity.z, 0.125f);
    EXPECT_EQ(target.pos.y, -49.5f - 7 * 0.125f);
}

TEST_F(SceneObjectsDraw, PieceMovesWithoutBouncing) {
    PersonSphere piece({0, 0, -49.5f}, {1, 1, 1}, {0, 0.25f, -0.125f}, 0.1f, 0.2f, 0.9f, 0.3f, 0.4f,
                       0.5f, {0, 0, 0}, {10, 20, 30});
    g_yaw = 40;
    g_pitch = -15;
    g_recoilOffset = 2.5;
    g_playerPos = {3, 4, 5};
    const auto matrix = modelview();
    const int depth = modelviewDepth();
    setAllMaterial(kMarker);
    piece.draw();
    EXPECT_EQ(piece.pos.z, -49.625f);
    EXPECT_EQ(piece.pos.y, 0.25f);
    EXPECT_EQ(piece.velocity.z, -0.125f);
    EXPECT_EQ(material(GL_DIFFUSE), (Rgba{0.1f, 0.2f, 0.9f, 1}));
    EXPECT_EQ(material(GL_AMBIENT), (Rgba{0.1f, 0.2f, 0.9f, 1}));
    EXPECT_EQ(material(GL_SPECULAR), (Rgba{0.3f, 0.4f, 0.5f, 1}));
    EXPECT_EQ(modelview(), matrix);
    EXPECT_EQ(modelviewDepth(), depth);
}

TEST_F(SceneObjectsDraw, HitPieceStaysRedAndStillForGood) {
    PersonSphere piece({1, -6, 0}, {0.5f, 1, 1}, {0.5f, 0, 0}, 1, 1, 1, 1, 1, 1, {1, 2, 3},
                       {0, 0, 0});
    g_fakeClockMs = 100;
    piece.hit();
    g_targetsLeft = 5;
    g_fakeClockMs = 60000;  // long past any flash
    setAllMaterial(kMarker);
    piece.draw();
    piece.draw();
    EXPECT_EQ(material(GL_DIFFUSE), kBright);
    EXPECT_EQ(material(GL_SPECULAR), kBright);
    EXPECT_EQ(material(GL_AMBIENT), kMarker);
    EXPECT_EQ(piece.pos.x, 1);
    EXPECT_FALSE(piece.expired);
    EXPECT_EQ(g_targetsLeft, 5);
}

TEST_F(SceneObjectsDraw, StaticPieceKeepsItsColoursAfterAHit) {
    PersonSphereStatic piece({-1, -6, 0}, {0.5f, 1, 1}, 0, 0, 1, {0, 0, -30});
    piece.hit();
    setAllMaterial(kMarker);
    piece.draw();
    EXPECT_EQ(material(GL_DIFFUSE), (Rgba{0, 0, 1, 1}));
    EXPECT_EQ(material(GL_SPECULAR), (Rgba{0, 0, 1, 1}));
    EXPECT_EQ(piece.pos.x, -1);
    EXPECT_EQ(piece.pos.y, -6);
    EXPECT_EQ(piece.pos.z, 0);
    EXPECT_DOUBLE_EQ(g_pitch, 0);
    EXPECT_DOUBLE_EQ(g_yaw, 0);
}
