// The in-game frame: HUD, crosshair, timers, recoil, camera, objects pass and walls.
#include "render/frame.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/game_state.h"
#include "core/gl.h"
#include "render/glyph_probe.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"
#include "world/scene_objects.h"

namespace {

using probe::digitAt;
using probe::textAt;
using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Far enough behind the near wall that the whole arena lies beyond the far plane: the overlay
// is then drawn on plain black.
constexpr Vec3 kOutsideArena = {0, 0, -500};

class FrameTest : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        openGameWindow();
        glMatrixMode(GL_MODELVIEW);
        g_playerPos = kOutsideArena;
    }

    // The shared reset leaves the aspect alone, since the game never writes it.
    void TearDown() override {
        g_screenAspect = 0.75;
        GameStateTest::TearDown();
    }
};

// ---- HUD -------------------------------------------------------------------------------

TEST_F(FrameTest, HudFiguresAndLabelsInTheirCorners) {
    g_score = 12;
    g_highScore = 34;
    g_secondsLeft = 56;
    g_fps = 58;
    g_targetsLeft = 130;
    renderFrame();
    const Screenshot shot;

    EXPECT_TRUE(digitAt(shot, 9, 40, 1));
    EXPECT_TRUE(digitAt(shot, 18, 40, 2));
    EXPECT_TRUE(digitAt(shot, 9, 80, 3));
    EXPECT_TRUE(digitAt(shot, 18, 80, 4));
    EXPECT_TRUE(textAt(shot, 9, 21, "SCORE"));
    EXPECT_TRUE(textAt(shot, 9, 62, "HIGH SCORE"));

    EXPECT_TRUE(digitAt(shot, 1006, 40, 6));
    EXPECT_TRUE(digitAt(shot, 997, 40, 5));
    EXPECT_TRUE(textAt(shot, 976, 21, "TIME"));
    EXPECT_TRUE(textAt(shot, 988, 60, "FPS"));
    EXPECT_TRUE(digitAt(shot, 1006, 75, 8));
    EXPECT_TRUE(digitAt(shot, 997, 75, 5));

    // Three digits centred on column 512: 498.5 to 525.5, on whole pixels from 498.
    EXPECT_TRUE(digitAt(shot, 498, 40, 1));
    EXPECT_TRUE(digitAt(shot, 507, 40, 3));
    EXPECT_TRUE(digitAt(shot, 516, 40, 0));
    EXPECT_TRUE(textAt(shot, 452, 21, "TARGETS LEFT"));
}

TEST_F(FrameTest, NoHighScoreLinesWithoutAHighScore) {
    g_score = 5;
    renderFrame();
    const Screenshot shot;
    EXPECT_TRUE(digitAt(shot, 9, 40, 5));
    EXPECT_TRUE(textAt(shot, 9, 21, "SCORE"));
    EXPECT_FALSE(shot.anyLit(0, 45, 200, 90));
}

TEST_F(FrameTest, LastFrameOfATimedOutGameShowsZeroSeconds) {
    g_secondsLeft = -1;
    renderFrame();
    const Screenshot shot;
    EXPECT_TRUE(digitAt(shot, 1006, 40, 0));
    EXPECT_FALSE(shot.anyLit(960, 30, 1005, 39));
}

// ---- Crosshair ---------------------------------------------------------------------------

struct Arms {
    int left0, left1, right0, right1;  // columns of the horizontal arms, on rows 383-384
    int up0, up1, down0, down1;        // rows of the vertical arms, in columns 511-512
};

// The arms lie on the border between two rows (or columns), where GL lets a line one pixel
// wide light either of them or share itself between both. So a pair of pixels across the
// border holds the arm when what it adds to the background beside it is the arm's colour.
Arms measureArms(const Screenshot& shot, Rgb colour) {
    auto holdsArm = [colour](Rgb a, Rgb b, Rgb background) {
        const int tolerance = 8;  // rounding of the shares, and the wall's shading
        return std::abs(a.r + b.r - background.r - colour.r) <= tolerance &&
               std::abs(a.g + b.g - background.g - colour.g) <= tolerance &&
               std::abs(a.b + b.b - background.b - colour.b) <= tolerance;
    };
    auto extend = [](int& first, int& last, int at) {
        if (first < 0) first = at;
        last = at;
    };
    Arms arms = {-1, -1, -1, -1, -1, -1, -1, -1};
    for (int col = 400; col < 624; ++col) {
        if (!holdsArm(shot.at(col, 383), shot.at(col, 384), shot.at(col, 380))) continue;
        if (col < 512) extend(arms.left0, arms.left1, col);
        else extend(arms.right0, arms.right1, col);
    }
    for (int row = 300; row < 468; ++row) {
        if (!holdsArm(shot.at(511, row), shot.at(512, row), shot.at(508, row))) continue;
        if (row < 384) extend(arms.up0, arms.up1, row);
        else extend(arms.down0, arms.down1, row);
    }
    return arms;
}

// Arms from half-length inner to outer, in 2-pixel steps, around the centre (512, 384).
void expectArms(const Arms& arms, int outer, int inner) {
    EXPECT_EQ(arms.left0, 512 - 2 * outer);
    EXPECT_EQ(arms.left1, 511 - 2 * inner);
    EXPECT_EQ(arms.right0, 512 + 2 * inner);
    EXPECT_EQ(arms.right1, 511 + 2 * outer);
    EXPECT_EQ(arms.up0, 384 - 2 * outer);
    EXPECT_EQ(arms.up1, 383 - 2 * inner);
    EXPECT_EQ(arms.down0, 384 + 2 * inner);
    EXPECT_EQ(arms.down1, 383 + 2 * outer);
}

constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kRed = {255, 0, 0};
constexpr Rgb kBlack = {0, 0, 0};

bool isWhite(Rgb p) {
    return p.r == 255 && p.g == 255 && p.b == 255;
}

bool isBlack(Rgb p) {
    return p.r == 0 && p.g == 0 && p.b == 0;
}

TEST_F(FrameTest, CrosshairOfEachWeapon) {
    g_weapon = Pistol;
    renderFrame();
    expectArms(measureArms(Screenshot(), kWhite), 10, 3);

    g_weapon = Shotgun;
    renderFrame();
    expectArms(measureArms(Screenshot(), kRed), 30, 10);

    // Black needs something behind it: stand inside the arena, before the far wall.
    g_weapon = MachineGun;
    g_playerPos = {0, 0, 0};
    renderFrame();
    expectArms(measureArms(Screenshot(), kBlack), 20, 7);
}

TEST_F(FrameTest, ShotEnlargesTheGapForTheKickFrames) {
    struct Case {
        Weapon weapon;
        int kick;
        int outer, inner;
        Rgb colour;
    };
    // The machine gun's black would vanish on the black backdrop; its gap is checked above.
    for (const Case& c : {Case{Pistol, 6, 10, 3, kWhite}, Case{Shotgun, 14, 30, 10, kRed}}) {
        SCOPED_TRACE(c.weapon);
        g_weapon = c.weapon;
        g_justFired = true;
        g_crosshairKick = c.kick;
        for (int frame = 1; frame <= c.kick; ++frame) {
            renderFrame();
            SCOPED_TRACE(frame);
            expectArms(measureArms(Screenshot(), c.colour), c.outer, 2 * c.inner);
            EXPECT_FALSE(g_justFired);
            EXPECT_EQ(g_crosshairKick, c.kick - frame);
        }
        renderFrame();
        expectArms(measureArms(Screenshot(), c.colour), c.outer, c.inner);
        EXPECT_EQ(g_crosshairKick, 0);
    }
}

TEST_F(FrameTest, UnknownWeaponValueDrawsThePistolCrosshair) {
    g_weapon = static_cast<Weapon>(7);
    renderFrame();
    expectArms(measureArms(Screenshot(), kWhite), 10, 3);
}

// ---- Notice and popup ----------------------------------------------------------------

constexpr const char* kNotice = "SHOTGUN UNLOCKED   PRESS E TO SWITCH";  // 36 characters

TEST_F(FrameTest, NoticeShowsCentredUntilThreeSeconds) {
    g_noticeText = kNotice;
    g_noticeTime = 1000;
    g_fakeClockMs = 3999;
    renderFrame();
    EXPECT_EQ(g_noticeText, kNotice);
    EXPECT_TRUE(textAt(Screenshot(), 332, 80, kNotice));

    g_fakeClockMs = 4000;
    renderFrame();
    EXPECT_TRUE(g_noticeText.empty());
    EXPECT_FALSE(Screenshot().anyLit(300, 60, 720, 90));
}

TEST_F(FrameTest, NoticeAgeSurvivesTheClockWrapping) {
    g_noticeText = "WRAP";
    g_noticeTime = INT_MAX - 999;
    g_fakeClockMs = INT_MIN + 1999;  // 2999 ms later
    renderFrame();
    EXPECT_EQ(g_noticeText, "WRAP");
    EXPECT_TRUE(textAt(Screenshot(), 492, 80, "WRAP"));

    g_fakeClockMs = INT_MIN + 2000;
    renderFrame();
    EXPECT_TRUE(g_noticeText.empty());
}

TEST_F(FrameTest, PopupShowsInBlackUntilTwoSeconds) {
    g_playerPos = {0, 0, 0};  // black shows only against the far wall
    g_lastHitScore = 45;
    g_lastHitTime = 500;
    g_fakeClockMs = 2499;
    renderFrame();
    EXPECT_EQ(g_lastHitScore, 45);
    {
        const Screenshot shot;
        EXPECT_TRUE(probe::digitStandsOut(shot, 503, 304, 4, true));
        EXPECT_TRUE(probe::digitStandsOut(shot, 512, 304, 5, true));
        EXPECT_TRUE(isBlack(shot.at(515, 294)));  // top bar of the 5
    }

    g_fakeClockMs = 2500;
    renderFrame();
    EXPECT_EQ(g_lastHitScore, 0);
    const Screenshot shot;
    EXPECT_FALSE(probe::digitStandsOut(shot, 512, 304, 5, true));
    EXPECT_FALSE(isBlack(shot.at(515, 294)));
}

TEST_F(FrameTest, PopupAgeSurvivesTheClockWrapping) {
    g_lastHitScore = 10;
    g_lastHitTime = INT_MAX;
    g_fakeClockMs = INT_MIN + 1998;  // 1999 ms later
    renderFrame();
    EXPECT_EQ(g_lastHitScore, 10);
    g_fakeClockMs = INT_MIN + 1999;
    renderFrame();
    EXPECT_EQ(g_lastHitScore, 0);
}

// ---- Recoil, camera and projection -------------------------------------------------------

struct Matrix {
    GLfloat m[16];  // column-major, as GL hands it over

    static Matrix current(GLenum which) {
        Matrix out;
        glGetFloatv(which, out.m);
        return out;
    }

    void apply(const double in[3], double out[3]) const {
        for (int row = 0; row < 3; ++row) {
            out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row];
        }
    }
};

TEST_F(FrameTest, RecoilPullsBackAndReturnsInEighteenFrames) {
    g_playerPos = {0, 0, 0};
    g_recoilActive = true;
    g_recoilOffset = 0;
    g_recoilVelocity = 1;
    const double expected[18] = {1, 2, 3, 4, 5, 6, 4.5, 4, 3.5, 3, 2.5, 2, 1.5, 1, 0.5, 0, -0.5, 0};
    for (int frame = 0; frame < 18; ++frame) {
        SCOPED_TRACE(frame + 1);
        EXPECT_TRUE(g_recoilActive);
        g_playerPos = kOutsideArena;  // cheap frames; the pull is read off the matrix
        renderFrame();
        EXPECT_EQ(g_recoilOffset, expected[frame]);
        const Matrix view = Matrix::current(GL_MODELVIEW_MATRIX);
        EXPECT_FLOAT_EQ(view.m[14], static_cast<float>(-expected[frame] + g_playerPos.z));
    }
    EXPECT_FALSE(g_recoilActive);
    EXPECT_EQ(g_recoilVelocity, 0);
    renderFrame();
    EXPECT_EQ(g_recoilOffset, 0);
}

// The eye-space point of a world point under the modelview that renderFrame leaves behind.
void eyePoint(double x, double y, double z, double out[3]) {
    const double in[3] = {x, y, z};
    Matrix::current(GL_MODELVIEW_MATRIX).apply(in, out);
}

auto near3(double x, double y, double z) {
    return ElementsAre(DoubleNear(x, 1e-4), DoubleNear(y, 1e-4), DoubleNear(z, 1e-4));
}

TEST_F(FrameTest, CameraStandsAtTheMirroredPlayerPosition) {
    g_playerPos = {3, -4, 20};  // the world point (3, -4, -20)
    g_recoilOffset = 2.5;       // left over from a finished recoil, still applied
    renderFrame();
    double eye[3];
    eyePoint(3, -4, -20, eye);
    EXPECT_THAT(eye, near3(0, 0, -2.5));
    eyePoint(3, -4, -21, eye);  // one unit further along -z lies straight ahead
    EXPECT_THAT(eye, near3(0, 0, -3.5));

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(FrameTest, CameraTurnsByYawThenPitchThenRoll) {
    double eye[3];
    g_playerPos = {0, 0, 0};
    g_yaw = 90;
    renderFrame();
    eyePoint(1, 0, 0, eye);  // yaw 90 faces +x
    EXPECT_THAT(eye, near3(0, 0, -1));

    g_pitch = 90;
    renderFrame();
    eyePoint(1, 0, 0, eye);  // the yaw turns first, then the pitch tips +x upwards
    EXPECT_THAT(eye, near3(0, 1, 0));

    g_yaw = 0;
    g_roll = 90;
    renderFrame();
    eyePoint(0, 0, -1, eye);  // pitched up to +y, then rolled to the left
    EXPECT_THAT(eye, near3(-1, 0, 0));
}

TEST_F(FrameTest, SceneProjectionNarrowsWithZoomAndKeepsFourThirds) {
    const double farPlane = 200;
    for (double zoom : {1.0, 1.5}) {
        g_zoom = zoom;
        g_screenAspect = 0.5;  // not consulted by the scene projection
        renderFrame();
        const Matrix projection = Matrix::current(GL_PROJECTION_MATRIX);
        const double f = 1 / std::tan(50 / zoom / 2 * kPi / 180);
        EXPECT_NEAR(projection.m[5], f, 1e-5) << zoom;
        EXPECT_NEAR(projection.m[0], f * 0.75, 1e-5) << zoom;
        EXPECT_NEAR(projection.m[10], -(farPlane + 1) / (farPlane - 1), 1e-5) << zoom;
        EXPECT_NEAR(projection.m[14], -2 * farPlane / (farPlane - 1), 1e-5) << zoom;
    }
}

// ---- Objects pass ----------------------------------------------------------------------

std::vector<int> g_drawn;    // ids in the order their draw ran
std::vector<int> g_deleted;  // ids in the order they were destroyed

// A target that only records what the frame does to it.
class RecordingSphere : public Sphere {
public:
    RecordingSphere(int id, bool expiredAtStart, bool expireOnDraw = false)
        : Sphere({0, 0, -20}, {1, 1, 1}, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 0),
          id_(id),
          expireOnDraw_(expireOnDraw) {
        expired = expiredAtStart;
    }
    ~RecordingSphere() override { g_deleted.push_back(id_); }

    void draw() override {
        g_drawn.push_back(id_);
        if (expireOnDraw_) expired = true;
    }

private:
    int id_;
    bool expireOnDraw_;
};

class ObjectsPassTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        g_drawn.clear();
        g_deleted.clear();
    }
};

TEST_F(ObjectsPassTest, AdjacentExpiredObjectsAllGoAndTheRestDrawOnce) {
    RecordingSphere* alive2 = new RecordingSphere(2, false);
    RecordingSphere* alive4 = new RecordingSphere(4, false);
    g_objects = {new RecordingSphere(0, true),
                 new RecordingSphere(1, true),
                 alive2,
                 new RecordingSphere(3, true),
                 alive4,
                 new RecordingSphere(5, true)};
    renderFrame();
    EXPECT_EQ(g_deleted, (std::vector<int>{0, 1, 3, 5}));
    EXPECT_EQ(g_drawn, (std::vector<int>{2, 4}));
    EXPECT_EQ(g_objects, (std::vector<Object*>{alive2, alive4}));
}

TEST_F(ObjectsPassTest, ObjectThatExpiresWhileDrawnGoesNextFrame) {
    RecordingSphere* last = new RecordingSphere(1, false);
    g_objects = {new RecordingSphere(0, false, true), last};
    renderFrame();
    EXPECT_EQ(g_drawn, (std::vector<int>{0, 1}));
    EXPECT_TRUE(g_deleted.empty());
    EXPECT_EQ(g_objects.size(), 2u);

    renderFrame();
    EXPECT_EQ(g_deleted, (std::vector<int>{0}));
    EXPECT_EQ(g_drawn, (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(g_objects, (std::vector<Object*>{last}));
}

// What the GL looked like when an object was asked to draw itself.
struct SeenState {
    bool lighting;
    GLfloat colour[4];
    GLfloat specular[4];
    GLfloat shininess;
    Matrix view;
    Matrix projection;
};

class InspectingSphere : public Sphere {
public:
    explicit InspectingSphere(SeenState* seen)
        : Sphere({0, 0, -20}, {1, 1, 1}, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 0), seen_(seen) {}

    void draw() override {
        seen_->lighting = glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_LIGHT0);
        glGetFloatv(GL_CURRENT_COLOR, seen_->colour);
        glGetMaterialfv(GL_FRONT, GL_SPECULAR, seen_->specular);
        glGetMaterialfv(GL_FRONT, GL_SHININESS, &seen_->shininess);
        seen_->view = Matrix::current(GL_MODELVIEW_MATRIX);
        seen_->projection = Matrix::current(GL_PROJECTION_MATRIX);
    }

private:
    SeenState* seen_;
};

TEST_F(ObjectsPassTest, ObjectsDrawLitUnderTheCamera) {
    SeenState seen = {};
    g_objects = {new InspectingSphere(&seen)};
    g_playerPos = {1, 2, 3};
    g_yaw = 30;
    g_zoom = 1.5;
    renderFrame();
    EXPECT_TRUE(seen.lighting);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(seen.colour[i], 0) << i;
    for (GLfloat s : seen.specular) EXPECT_EQ(s, 1);
    EXPECT_EQ(seen.shininess, 50);
    // The walls leave the camera matrix as they found it, so it is still there to compare.
    const Matrix view = Matrix::current(GL_MODELVIEW_MATRIX);
    const Matrix projection = Matrix::current(GL_PROJECTION_MATRIX);
    EXPECT_THAT(seen.view.m, ElementsAreArray(view.m));
    EXPECT_THAT(seen.projection.m, ElementsAreArray(projection.m));
}

// ---- Walls --------------------------------------------------------------------------------

// Lit wall colour as the fixed-function pipeline forms it: the global ambient 0.2 times the
// material ambient 0.2, plus the diffuse (0.6, 0.7, 0.6) times N.L, with no specular.
Rgb wallColour(double normalDotLight) {
    const auto level = [&](double diffuse) {
        return static_cast<int>(std::lround(255 * (0.04 + diffuse * normalDotLight)));
    };
    return {level(0.6), level(0.7), level(0.6)};
}

// N.L at the wall point seen through a pixel, for a wall d ahead whose normal points back
// at the eye; the light sits at (10, 1, 1) in eye space.
double wallDotLight(int col, int row, double d, double normalLength) {
    const double pixel = d * std::tan(25 * kPi / 180) / 384;  // units per pixel at distance d
    const double x = (col + 0.5 - 512) * pixel;
    const double y = (384 - row - 0.5) * pixel;
    const double lx = 10 - x, ly = 1 - y, lz = 1 + d;
    return normalLength * lz / std::sqrt(lx * lx + ly * ly + lz * lz);
}

void expectColourNear(Rgb got, Rgb want) {
    EXPECT_NEAR(got.r, want.r, 3);
    EXPECT_NEAR(got.g, want.g, 3);
    EXPECT_NEAR(got.b, want.b, 3);
}

// Just off the crosshair and the overlay.
constexpr int kNearCentreCol = 512 + 40;
constexpr int kNearCentreRow = 384 + 40;

TEST_F(FrameTest, EndWallFillsTheViewInItsLitColour) {
    g_playerPos = {0, 0, 0};
    g_score = 7;
    renderFrame();
    const Screenshot shot;
    expectColourNear(shot.at(kNearCentreCol, kNearCentreRow),
                     wallColour(wallDotLight(kNearCentreCol, kNearCentreRow, 50, 1)));
    // Every corner of the view shows the wall too: it reaches past the edges of the view.
    for (int col : {2, 1021}) {
        for (int row : {300, 765}) {
            const Rgb p = shot.at(col, row);
            EXPECT_GT(p.g, p.r) << col << ", " << row;
            EXPECT_GT(p.r, 100) << col << ", " << row;
        }
    }
    // The overlay stays in front of it.
    EXPECT_TRUE(probe::textStandsOut(shot, 9, 21, "SCORE"));
    EXPECT_TRUE(probe::digitStandsOut(shot, 9, 40, 7, false));
}

TEST_F(FrameTest, SideWallIsDimmedByItsTurn) {
    g_playerPos = {0, 0, 0};
    g_yaw = 90;  // facing the wall at x = +50
    renderFrame();
    const Screenshot shot;
    // Turned by 110 degrees, its normal is only sin 110 long.
    const double sin110 = std::sin(110 * kPi / 180);
    expectColourNear(shot.at(kNearCentreCol, kNearCentreRow),
                     wallColour(wallDotLight(kNearCentreCol, kNearCentreRow, 50, sin110)));
}

TEST_F(FrameTest, EmptySceneIsOverlayOverWalls) {
    g_playerPos = {0, 0, 0};
    renderFrame();
    EXPECT_TRUE(g_objects.empty());
    const Screenshot shot;
    // Away from the overlay, every pixel is wall: green over red and blue, no black, no gaps.
    for (int row = 420; row < 768; row += 7) {
        for (int col = 0; col < 1024; col += 7) {
            const Rgb p = shot.at(col, row);
            ASSERT_GT(p.g, p.r) << col << ", " << row;
            ASSERT_EQ(p.r, p.b) << col << ", " << row;
            ASSERT_GT(p.r, 60) << col << ", " << row;
        }
    }
}

// ---- Wall panel ---------------------------------------------------------------------------

TEST(WallPanel, CoversTheUnitSquareAndKeepsTheMatrixStack) {
    openGameWindow();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    drawWallPanel();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    const Matrix view = Matrix::current(GL_MODELVIEW_MATRIX);
    EXPECT_THAT(view.m, ElementsAre(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));

    // [-0.5, 0.5] squared is the middle half of the window each way, with no holes.
    const Screenshot shot;
    int left, top, right, bottom;
    ASSERT_TRUE(shot.litBounds(0, 0, 1023, 767, left, top, right, bottom));
    EXPECT_EQ(left, 256);
    EXPECT_EQ(right, 767);
    EXPECT_EQ(top, 192);
    EXPECT_EQ(bottom, 575);
    for (int row = 192; row <= 575; ++row) {
        for (int col = 256; col <= 767; ++col) {
            ASSERT_TRUE(isWhite(shot.at(col, row))) << col << ", " << row;
        }
    }
    glEnable(GL_LIGHTING);
}

}  // namespace
