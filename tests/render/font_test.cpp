// The bitmap font: figure placement per alignment, text advance and skipped bytes, the lists.
#include "render/font.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/game_state.h"
#include "core/gl.h"
#include "render/glyph_probe.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"

namespace {

using probe::digitAt;
using probe::textShown;

// The in-game overlay: one unit is 1024 pixels, (0, 0) the window centre, z = -1 the near plane.
class FontTest : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        openGameWindow();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-0.5, 0.5, -0.375, 0.375, 1, 1000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glColor3f(1, 1, 1);
    }

    // Raster position at a window pixel corner (x, y) counted from the bottom.
    static void rasterAt(int x, int y) {
        glRasterPos3f(x / 1024.0f - 0.5f, y / 1024.0f - 0.375f, -1);
    }

    static float rasterX() {
        GLfloat position[4];
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        return position[0];
    }
};

// Digits of value, most significant first, each 9 pixels right of the one before.
void expectFigure(const Screenshot& shot, int firstColumn, int row, const std::string& digits) {
    for (size_t i = 0; i < digits.size(); ++i) {
        EXPECT_TRUE(digitAt(shot, firstColumn + 9 * static_cast<int>(i), row, digits[i] - '0'))
            << "digit " << i << " of " << digits;
    }
}

void expectOnlyLitWithin(const Screenshot& shot, int left, int top, int right, int bottom) {
    int l, t, r, b;
    ASSERT_TRUE(
        shot.litBounds(0, 0, probe::kWindowWidth - 1, probe::kWindowHeight - 1, l, t, r, b));
    EXPECT_GE(l, left);
    EXPECT_GE(t, top);
    EXPECT_LE(r, right);
    EXPECT_LE(b, bottom);
}

TEST_F(FontTest, LeftZeroIsOneDigitAtColumnNine) {
    drawNumber(Left, 0, 0);
    const Screenshot shot;
    EXPECT_TRUE(digitAt(shot, 9, 40, 0));
    expectOnlyLitWithin(shot, 9, 30, 16, 39);
}

TEST_F(FontTest, LeftHundredStartsAtColumnNine) {
    drawNumber(Left, 100, 40);
    const Screenshot shot;
    expectFigure(shot, 9, 80, "100");
    expectOnlyLitWithin(shot, 9, 70, 34, 79);
}

TEST_F(FontTest, LeftKeepsColumnNineForEveryDigitCount) {
    for (int value : {7, 42, 999, 1000, 65536, 9999994}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawNumber(Left, value, 0);
        const Screenshot shot;
        const std::string digits = std::to_string(value);
        expectFigure(shot, 9, 40, digits);
        expectOnlyLitWithin(shot, 9, 30, 9 * static_cast<int>(digits.size()) + 7, 39);
    }
}

TEST_F(FontTest, RightGrowsLeftwardsFromColumn1006) {
    drawNumber(Right, 12345, 0);
    const Screenshot shot;
    expectFigure(shot, 970, 40, "12345");
    expectOnlyLitWithin(shot, 970, 30, 1013, 39);
}

TEST_F(FontTest, CenterSevenLiesOnTheMiddleAtRow304) {
    drawNumber(Center, 7, 264);
    const Screenshot shot;
    // Its raster x is column 507.5; the bitmap starts on the pixel that holds it.
    EXPECT_TRUE(digitAt(shot, 507, 304, 7));
    expectOnlyLitWithin(shot, 507, 294, 514, 303);
}

TEST_F(FontTest, CenterTwoDigitsMeetAtTheMiddle) {
    drawNumber(Center, 42, 0);
    const Screenshot shot;
    expectFigure(shot, 503, 40, "42");
    expectOnlyLitWithin(shot, 503, 30, 519, 39);
}

TEST_F(FontTest, UnknownAlignmentCentres) {
    drawNumber(static_cast<NumberAlign>(5), 42, 0);
    const Screenshot shot;
    expectFigure(shot, 503, 40, "42");
}

TEST_F(FontTest, FigureTakesCurrentColour) {
    glColor3f(1, 0, 0);
    drawNumber(Left, 8, 0);
    const Screenshot shot;
    // Row 30 is the top of the 8, lit in its middle four columns.
    const Rgb p = shot.at(12, 30);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 0);
}

TEST_F(FontTest, NegativeValuesDrawAsZero) {
    for (int value : {-1, -12345, INT_MIN}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawNumber(Left, value, 0);
        const Screenshot shot;
        EXPECT_TRUE(digitAt(shot, 9, 40, 0)) << value;
        expectOnlyLitWithin(shot, 9, 30, 16, 39);
    }
}

TEST_F(FontTest, LargestValueDrawsAllTenDigits) {
    drawNumber(Left, INT_MAX, 0);
    const Screenshot shot;
    expectFigure(shot, 9, 40, std::to_string(INT_MAX));
    expectOnlyLitWithin(shot, 9, 30, 9 * 10 + 7, 39);
}

TEST_F(FontTest, TextAdvancesTenPixelsAndSpaceStaysBlank) {
    rasterAt(100, 500);
    drawText("A B");
    EXPECT_FLOAT_EQ(rasterX(), 130);
    const Screenshot shot;
    EXPECT_TRUE(textShown(shot, 100, 500, "A B"));
    expectOnlyLitWithin(shot, 100, probe::kWindowHeight - 511, 127, probe::kWindowHeight - 501);
}

TEST_F(FontTest, BytesWithoutGlyphsAreSkippedWithoutAdvance) {
    rasterAt(200, 300);
    drawText("AbC1D?");
    EXPECT_FLOAT_EQ(rasterX(), 230);
    const Screenshot shot;
    EXPECT_TRUE(textShown(shot, 200, 300, "ACD"));
    expectOnlyLitWithin(shot, 200, 0, 227, probe::kWindowHeight);
}

TEST_F(FontTest, BytesAboveTheFontRangeCallNoOtherList) {
    g_fontReady = false;
    drawText("");  // a fresh font, so the names after it are still free
    // Claim the names just above the font's 128 and make each one jump the raster 50 pixels:
    // a byte above 127 that reached glCallLists would land on one of them.
    const GLuint above = glGenLists(128);
    if (above != g_fontListBase + 128) GTEST_SKIP() << "list names not handed out in order";
    const unsigned char blank = 0;
    for (GLuint list = above; list < above + 128; ++list) {
        glNewList(list, GL_COMPILE);
        glBitmap(1, 1, 0, 0, 50, 0, &blank);
        glEndList();
    }
    rasterAt(300, 300);
    glCallList(above + 1);
    ASSERT_FLOAT_EQ(rasterX(), 350) << "the decoy lists work";
    rasterAt(300, 300);
    drawText("A\x80Z\xC3\xFF");
    EXPECT_FLOAT_EQ(rasterX(), 320);
    const Screenshot shot;
    EXPECT_TRUE(textShown(shot, 300, 300, "AZ"));
}

TEST_F(FontTest, TextRestoresTheListBase) {
    glListBase(77);
    rasterAt(100, 100);
    drawText("OK");
    GLint base = 0;
    glGetIntegerv(GL_LIST_BASE, &base);
    EXPECT_EQ(base, 77);
    glListBase(0);
}

TEST_F(FontTest, FontIsBuiltOnce) {
    if (!g_fontReady) {
        drawText("");
        EXPECT_TRUE(g_fontReady);
    }
    const GLuint base = g_fontListBase;
    const GLuint before = glGenLists(1);
    rasterAt(100, 100);
    drawText("AGAIN");
    const GLuint after = glGenLists(1);
    EXPECT_TRUE(g_fontReady);
    EXPECT_EQ(g_fontListBase, base);
    EXPECT_EQ(after, before + 1) << "no list names were taken in between";
    EXPECT_TRUE(glIsList(base + 'A'));
    glDeleteLists(before, 1);
    glDeleteLists(after, 1);
}

TEST_F(FontTest, BuildFontDefinesSpaceAndCapitals) {
    drawText("");
    const GLuint saved = g_fontListBase;
    buildFont();  // a fresh set, to look at in isolation
    const GLuint fresh = g_fontListBase;
    g_fontListBase = saved;
    ASSERT_NE(fresh, saved);
    for (int c : {'A', 'M', 'Z'}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        rasterAt(400, 400);
        glCallList(fresh + c);
        EXPECT_FLOAT_EQ(rasterX(), 410) << static_cast<char>(c);
        const Screenshot shot;
        const char text[2] = {static_cast<char>(c), 0};
        EXPECT_TRUE(textShown(shot, 400, 400, text));
    }
    rasterAt(400, 400);
    glCallList(fresh + ' ');
    EXPECT_FLOAT_EQ(rasterX(), 410);
    glDeleteLists(fresh, 128);
}

}  // namespace
