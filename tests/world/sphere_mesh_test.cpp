// The sphere mesh cache: one display list per slice count, drawn on its very first use.
#include "world/sphere_mesh.h"

#include <gtest/gtest.h>

#include <array>

#include "core/game_state.h"
#include "core/gl.h"
#include "support/gl_context.h"
#include "world/scene_objects.h"

namespace {

// Slice counts no other test here uses, so each test sees its own first use.
constexpr int kFirstUseSlices = 20;
constexpr int kReuseSlices = 24;
constexpr int kAdditiveSlices = 28;

Sphere unitSphere(int slices) {
    Sphere sphere({0, 0, 0}, {1, 1, 1}, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 0);
    sphere.slices = slices;
    return sphere;
}

class SphereMesh : public ::testing::Test {
protected:
    void SetUp() override {
        openGameWindow();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(50, 1024.0 / 768.0, 1, 1000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -10);
        const GLfloat white[4] = {1, 1, 1, 1};
        glMaterialfv(GL_FRONT, GL_DIFFUSE, white);
        glMaterialfv(GL_FRONT, GL_AMBIENT, white);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

// The unit sphere ten units ahead is about 165 pixels wide, around the window's centre.
bool sphereOnScreen() {
    const Screenshot shot;
    int left, top, right, bottom;
    if (!shot.litBounds(0, 0, 1023, 767, left, top, right, bottom)) return false;
    const int width = right - left;
    return left < 512 && right > 512 && top < 384 && bottom > 384 && width > 150 && width < 180;
}

}  // namespace

TEST_F(SphereMesh, FirstUseCompilesAndDraws) {
    ASSERT_EQ(g_sphereLists.count(kFirstUseSlices), 0u);
    const Sphere sphere = unitSphere(kFirstUseSlices);
    drawSphereMesh(sphere);
    EXPECT_TRUE(sphereOnScreen());
    ASSERT_EQ(g_sphereLists.count(kFirstUseSlices), 1u);
    EXPECT_TRUE(glIsList(g_sphereLists[kFirstUseSlices]));
}

TEST_F(SphereMesh, SameSlicesReuseTheList) {
    const Sphere first = unitSphere(kReuseSlices);
    drawSphereMesh(first);
    const unsigned list = g_sphereLists.at(kReuseSlices);
    const size_t entries = g_sphereLists.size();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const Sphere second = unitSphere(kReuseSlices);
    drawSphereMesh(second);
    EXPECT_TRUE(sphereOnScreen());
    EXPECT_EQ(g_sphereLists.size(), entries);
    EXPECT_EQ(g_sphereLists.at(kReuseSlices), list);

    // Another resolution gets a list of its own.
    drawSphereMesh(unitSphere(kReuseSlices + 1));
    EXPECT_EQ(g_sphereLists.size(), entries + 1);
    EXPECT_NE(g_sphereLists.at(kReuseSlices + 1), list);
}

// Added up, the first draw is exactly as bright as a later one: the mesh is not drawn twice
// while the list is made.
TEST_F(SphereMesh, FirstUseDrawsOnlyOnce) {
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3f(0.2f, 0.2f, 0.2f);

    const Sphere sphere = unitSphere(kAdditiveSlices);
    drawSphereMesh(sphere);
    const Rgb first = Screenshot().at(512, 384);
    glClear(GL_COLOR_BUFFER_BIT);
    drawSphereMesh(sphere);
    const Rgb later = Screenshot().at(512, 384);

    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    EXPECT_GT(later.r, 40);  // 0.2 from the front faces; the back ones are culled
    EXPECT_EQ(first.r, later.r);
}

TEST_F(SphereMesh, LeavesMatrixAndMaterialAlone) {
    std::array<float, 16> before, after;
    std::array<float, 4> diffuseBefore, diffuseAfter;
    glGetFloatv(GL_MODELVIEW_MATRIX, before.data());
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuseBefore.data());
    drawSphereMesh(unitSphere(kReuseSlices));
    glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuseAfter.data());
    EXPECT_EQ(before, after);
    EXPECT_EQ(diffuseBefore, diffuseAfter);
}
