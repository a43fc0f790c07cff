// The title screen: its sixteen lines where the title projection puts them, the score block.
#include "render/title_screen.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/game_state.h"
#include "core/gl.h"
#include "render/glyph_probe.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"

namespace {

using probe::kWindowHeight;

struct Line {
    const char* text;
    float x;
    int n;  // layout rows below the name line
};

const Line kLines[16] = {
    {"ORBFALL", -0.05f, 0},
    {"P     PLAY GAME", -0.2f, 60},
    {"WASD  MOVE", -0.2f, 80},
    {"E     SWITCH WEAPON", -0.2f, 100},
    {"Q     END GAME", -0.2f, 120},
    {"ESC   QUIT", -0.2f, 140},
    {"MOUSE          AIM AT TARGETS", -0.2f, 200},
    {"LEFT CLICK     FIRE", -0.2f, 220},
    {"RIGHT CLICK    ZOOM", -0.2f, 240},
    {"PISTOL       STARTING WEAPON", -0.2f, 300},
    {"SHOTGUN      UNLOCK AT FIFTY POINTS", -0.2f, 330},
    {"             HIGH IMPACT    LOW RANGE", -0.2f, 350},
    {"MACHINE GUN  UNLOCK AT ONE HUNDRED POINTS", -0.2f, 380},
    {"             HOLD TO FIRE   HIGH SPREAD", -0.2f, 400},
    {"DISPATCH YOUR TARGETS WITH HASTE", -0.2f, 460},
    {"YOU LOSE A POINT EVERY SECOND", -0.2f, 490},
};

// Where a raster position (x, y, -1) lands under a 50-degree, 4:3 perspective whose near
// plane is at distance 1: there the visible half-height is tan 25 degrees.
struct WindowPoint {
    int x, y;  // the pixel holding it, counted from the bottom
};

WindowPoint titleRaster(double x, double y) {
    const double f = 1 / std::tan(25 * 3.141592653589793 / 180);
    const double wx = 512 * (1 + x * f * 0.75);
    const double wy = 384 * (1 + y * f);
    return {static_cast<int>(std::floor(wx)), static_cast<int>(std::floor(wy))};
}

// Overlay coordinates of a column and a row below the top, as the score block uses them.
WindowPoint titleRasterOfOverlay(int column, int row) {
    return titleRaster(column / 1024.0 - 0.5, 0.75 * (0.5 - row / 768.0));
}

class TitleScreenTest : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        openGameWindow();
    }
};

TEST_F(TitleScreenTest, SixteenLinesAtTheirPlaces) {
    renderTitleScreen();
    const Screenshot shot;
    for (const Line& line : kLines) {
        const float y = static_cast<float>(0.75 * (0.3 - line.n / 768.0));
        const WindowPoint at = titleRaster(line.x, y);
        EXPECT_TRUE(probe::textShown(shot, at.x, at.y, line.text)) << line.text;
    }
    // The name line is the topmost thing drawn: no score block at the start.
    const WindowPoint name = titleRaster(-0.05, 0.225);
    int left, top, right, bottom;
    ASSERT_TRUE(shot.litBounds(0, 0, 1023, 767, left, top, right, bottom));
    EXPECT_EQ(top, kWindowHeight - 1 - (name.y + 10));  // the top row of the name's capitals
    EXPECT_EQ(left, titleRaster(-0.2, 0).x);
}

TEST_F(TitleScreenTest, LinesSitWhereTheLayoutSays) {
    // A cross-check of the projection arithmetic above against the layout's pixel figures.
    EXPECT_EQ(titleRaster(-0.2, 0).x, 347);
    EXPECT_EQ(titleRaster(-0.05, 0).x, 470);
    EXPECT_NEAR(kWindowHeight - titleRaster(0, 0.225).y, 199, 1);
    renderTitleScreen();
    const Screenshot shot;
    EXPECT_TRUE(probe::textShown(shot, 470, titleRaster(0, 0.225).y, "ORBFALL"));
}

TEST_F(TitleScreenTest, ScoreBlockShowsLastGame) {
    g_score = 37;
    g_highScore = 50;
    renderTitleScreen();
    const Screenshot shot;
    // The figures' raster sits at overlay column 9 + 9 for two digits, rows 40 and 80.
    const WindowPoint score = titleRasterOfOverlay(18, 40);
    EXPECT_TRUE(probe::bitmapShown(shot, score.x, score.y, g_digitGlyphs[7], 10));
    EXPECT_TRUE(probe::bitmapShown(shot, score.x - 9, score.y, g_digitGlyphs[3], 10));
    const WindowPoint high = titleRasterOfOverlay(18, 80);
    EXPECT_TRUE(probe::bitmapShown(shot, high.x, high.y, g_digitGlyphs[0], 10));
    EXPECT_TRUE(probe::bitmapShown(shot, high.x - 9, high.y, g_digitGlyphs[5], 10));
    const WindowPoint label = titleRasterOfOverlay(9, 21);
    EXPECT_TRUE(probe::textShown(shot, label.x, label.y, "SCORE"));
    const WindowPoint highLabel = titleRasterOfOverlay(9, 62);
    EXPECT_TRUE(probe::textShown(shot, highLabel.x, highLabel.y, "HIGH SCORE"));
    EXPECT_NEAR(label.x, 107, 1);
}

TEST_F(TitleScreenTest, ScoreBlockWithoutHighScoreLabel) {
    g_score = 9;
    renderTitleScreen();
    const Screenshot shot;
    const WindowPoint score = titleRasterOfOverlay(9, 40);
    EXPECT_TRUE(probe::bitmapShown(shot, score.x, score.y, g_digitGlyphs[9], 10));
    const WindowPoint highLabel = titleRasterOfOverlay(9, 62);
    const WindowPoint high = titleRasterOfOverlay(9, 80);
    EXPECT_FALSE(shot.anyLit(highLabel.x - 20, kWindowHeight - 1 - (highLabel.y + 13), 300,
                             kWindowHeight - 1 - high.y));
}

TEST_F(TitleScreenTest, NoScoreBlockAfterAScorelessGame) {
    g_score = 0;
    g_highScore = 80;
    renderTitleScreen();
    const Screenshot shot;
    const int nameTop = kWindowHeight - 1 - (titleRaster(0, 0.225).y + 10);
    EXPECT_FALSE(shot.anyLit(0, 0, 1023, nameTop - 1));
}

TEST_F(TitleScreenTest, DrawsWhiteOnAClearedScreenAndLeavesTheModelviewClean) {
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
    glRasterPos2f(-0.99f, -0.99f);
    const unsigned char block[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    glBitmap(8, 8, 0, 0, 0, 0, block);  // a leftover from some earlier picture
    glEnable(GL_DEPTH_TEST);

    glMatrixMode(GL_PROJECTION);
    glColor3f(1, 0, 0);
    glEnable(GL_LIGHTING);
    renderTitleScreen();

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_THAT(m, ::testing::ElementsAre(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    const Screenshot shot;
    EXPECT_FALSE(shot.anyLit(0, 700, 40, 767, 0));
    // The middle of the name's O, its second letter.
    const WindowPoint name = titleRaster(-0.05, 0.225);
    const Rgb p = probe::pixel(shot, name.x + 10 + 3, name.y + 10);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 255);
    EXPECT_EQ(p.b, 255);
}

}  // namespace
