// Where drawn scene objects land on screen: targets at their place before moving, and the
// view-attached pieces held under the eye whatever the yaw, position and recoil.
#include <gtest/gtest.h>

#include <cmath>

#include "core/game_state.h"
#include "core/gl.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"
#include "world/scene_objects.h"

namespace {

constexpr int kTestSlices = 32;  // plenty for bounds, and quick to rasterise

struct Bounds {
    int left = 0, top = 0, right = 0, bottom = 0;
    double centreColumn() const { return (left + right) / 2.0; }
    double centreRow() const { return (top + bottom) / 2.0; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

bool litBounds(Bounds& b) {
    return Screenshot().litBounds(0, 0, 1023, 767, b.left, b.top, b.right, b.bottom);
}

// The camera as the frame sets it up.
void applyView() {
    glLoadIdentity();
    glTranslatef(0, 0, static_cast<float>(-g_recoilOffset));
    glRotatef(static_cast<float>(g_roll), 0, 0, 1);
    glRotatef(static_cast<float>(g_pitch), 1, 0, 0);
    glRotatef(static_cast<float>(g_yaw), 0, 1, 0);
    glTranslatef(-g_playerPos.x, -g_playerPos.y, g_playerPos.z);
}

// Window column of an eye-space point under the 50-degree, 4:3 perspective.
double projectedColumn(double x, double z) {
    const double halfWidth = std::tan(25 * M_PI / 180) * 1024.0 / 768.0;
    return 512 + x / -z / halfWidth * 512;
}

class SceneObjectsScreen : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        openGameWindow();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(50, 1024.0 / 768.0, 1, 1000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const float arena[6] = {-50, -50, 50, 50, 50, -50};
        for (int i = 0; i < 6; ++i) g_arena[i] = arena[i];
    }

    static Bounds drawAlone(Object& object) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        applyView();
        object.draw();
        Bounds b;
        EXPECT_TRUE(litBounds(b));
        return b;
    }
};

PersonSphereStatic makePiece(Vec3 offset, Vec3 radii, Vec3 rotation) {
    PersonSphereStatic piece(offset, radii, 1, 1, 1, rotation);
    piece.slices = kTestSlices;
    return piece;
}

}  // namespace

TEST_F(SceneObjectsScreen, TargetIsDrawnWhereItStoodBeforeMoving) {
    Sphere target({3, 0, -20}, {2, 0.5f, 0.5f}, {4, 0, 0}, 1, 1, 1, 1, 1, 1, 4);
    target.slices = kTestSlices;
    const Bounds b = drawAlone(target);
    EXPECT_EQ(target.pos.x, 7);
    EXPECT_NEAR(b.centreColumn(), projectedColumn(3, -20), 4);
    EXPECT_NEAR(b.centreRow(), 384, 4);
    // Stretched by its radii: 2 across, 0.5 up.
    EXPECT_NEAR(b.width(), projectedColumn(5, -20) - projectedColumn(1, -20), 6);
    EXPECT_LT(b.height(), b.width() / 3);
}

TEST_F(SceneObjectsScreen, PieceHoldsStillUnderYawMovementAndRecoil) {
    PersonSphereStatic piece = makePiece({0.5f, -1, -8}, {0.5f, 0.5f, 0.5f}, {0, 0, 0});
    const Bounds still = drawAlone(piece);
    EXPECT_NEAR(still.centreColumn(), projectedColumn(0.5, -8), 4);

    g_yaw = 70;
    g_playerPos = {12, -5, 20};
    g_recoilOffset = 3;
    const Bounds moved = drawAlone(piece);
    EXPECT_NEAR(moved.left, still.left, 1);
    EXPECT_NEAR(moved.right, still.right, 1);
    EXPECT_NEAR(moved.top, still.top, 1);
    EXPECT_NEAR(moved.bottom, still.bottom, 1);

    // Pitch and roll do turn it with the view.
    g_pitch = 20;
    const Bounds pitched = drawAlone(piece);
    EXPECT_GT(std::abs(pitched.centreRow() - still.centreRow()), 30);
    g_pitch = 0;
    g_roll = 30;
    const Bounds rolled = drawAlone(piece);
    EXPECT_GT(std::abs(rolled.centreColumn() - still.centreColumn()), 20);
}

// The long axis (y) turned 45 degrees about z, then 90 about y, ends up pointing up and
// towards the viewer: tall and thin on screen. Turned in the opposite order it would lean
// diagonally.
TEST_F(SceneObjectsScreen, PieceTurnsAboutXThenYThenZ) {
    PersonSphereStatic piece = makePiece({0, 0, -12}, {0.2f, 2, 0.2f}, {0, 90, 45});
    const Bounds b = drawAlone(piece);
    EXPECT_GT(b.height(), 3 * b.width());
    EXPECT_NEAR(b.centreColumn(), 512, 4);
}
