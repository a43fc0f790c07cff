// Covers the title screen as the running game shows it: where its sixteen lines land, and
// that it is plain white text on black with no score block at start.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "harness.h"

namespace {

constexpr int kTitleMs = 20000;

struct TitleLine {
    const char* text;
    float x;  // raster x
    int n;    // layout rows below the name; raster y is 0.75 * (0.3 - n / 768)
};

const TitleLine kLines[16] = {
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

// The lit box of a line: the raster position through a 50-degree, 4:3 perspective at eye
// depth 1 gives the window pixel; the text starts at its column and rests on its row. Every
// line begins and ends with a letter that fills its cell's first and last column.
e2e::Box expectedBox(const TitleLine& line) {
    const double pi = 3.141592653589793;
    const double f = 1.0 / std::tan(25.0 * pi / 180.0);
    const float y = static_cast<float>(0.75 * (0.3 - line.n / 768.0));
    const double column = (f / (4.0 / 3.0) * line.x + 1.0) * 512.0;
    const double rowFromBottom = (f * y + 1.0) * 384.0;
    const int left = static_cast<int>(std::floor(column));
    const int bottom = e2e::kWindowHeight - 1 - static_cast<int>(std::floor(rowFromBottom));
    const std::string text = line.text;
    const int first = static_cast<int>(text.find_first_not_of(' '));
    const int last = static_cast<int>(text.find_last_not_of(' '));
    return {left + 10 * first, bottom - 10, left + 10 * last + 7, bottom};
}

bool sameBox(const e2e::Box& a, const e2e::Box& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(TitleScreen, SixteenLinesAtTheirPlaces) {
    e2e::Session session;
    ASSERT_TRUE(session.ready()) << session.error;
    e2e::Picture picture;
    ASSERT_TRUE(session.window.waitForPicture(e2e::showsTitleScreen, kTitleMs, picture))
        << "no title screen within " << kTitleMs << " ms";

    for (const TitleLine& line : kLines) {
        SCOPED_TRACE(line.text);
        const e2e::Box expected = expectedBox(line);
        // Full width, a few rows around the line: the gaps between lines are 5 rows or more.
        const e2e::Box band = {0, expected.top - 3, e2e::kWindowWidth - 1, expected.bottom + 3};
        e2e::Box found;
        ASSERT_TRUE(picture.litBox(band, found)) << "nothing lit in " << e2e::describe(band);
        EXPECT_TRUE(sameBox(found, expected))
            << "lit " << e2e::describe(found) << ", expected " << e2e::describe(expected);
    }
    // The design's landmarks: the name line about 199 pixels down, the key column at 347.
    EXPECT_EQ(expectedBox(kLines[0]).bottom, 198);
    EXPECT_EQ(expectedBox(kLines[1]).left, 347);
}

TEST(TitleScreen, WhiteOnBlackWithNothingElseAtStart) {
    e2e::Session session;
    ASSERT_TRUE(session.ready()) << session.error;
    e2e::Picture picture;
    ASSERT_TRUE(session.window.waitForPicture(e2e::showsTitleScreen, kTitleMs, picture))
        << "no title screen within " << kTitleMs << " ms";

    EXPECT_EQ(picture.impureCount(picture.whole()), 0) << "pixels neither black nor white";
    int inLines = 0;
    for (const TitleLine& line : kLines) inLines += picture.litCount(expectedBox(line), 0);
    EXPECT_EQ(picture.litCount(picture.whole(), 0), inLines) << "lit pixels outside the lines";
    // Where the score block would go, were there a last score.
    EXPECT_EQ(picture.litCount({90, 80, 300, 150}, 0), 0);

    // The screen is redrawn every pass and stays the same.
    e2e::Picture later = session.window.grab();
    EXPECT_EQ(later.countDiff(picture, 0), 0);
}

}  // namespace
