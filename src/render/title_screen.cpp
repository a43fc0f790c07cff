// The title screen: name, controls, weapons and rules, with the last game's score above them.
#include "render/title_screen.h"

#include <array>
#include <iterator>

#include "core/game_state.h"
#include "core/gl.h"
#include "core/screen.h"
#include "render/font.h"
#include "render/frame.h"
#include "render/overlay.h"

namespace {

struct TitleLine {
    const char* text;  // spaced so the columns line up under the 10-pixel pitch
    float x;
    int row;  // layout rows of 1/768 below the name line
};

constexpr TitleLine kTitleLines[] = {
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
constexpr std::size_t kLineCount = std::size(kTitleLines);
static_assert(kLineCount == 16, "sixteen lines");

constexpr double kNameK = 0.3;  // the name line; y = g_screenAspect * k

// Each line's k is the line above's less the gap between them in rows of 1/768, subtracted in
// turn down the layout; that order of rounding gives the layout's values.
constexpr std::array<double, kLineCount> lineKs() {
    std::array<double, kLineCount> k{};
    k[0] = kNameK;
    for (std::size_t n = 1; n < kLineCount; ++n) {
        const int gap = kTitleLines[n].row - kTitleLines[n - 1].row;
        k[n] = k[n - 1] - gap / static_cast<double>(kWindowHeight);
    }
    return k;
}
constexpr std::array<double, kLineCount> kLineK = lineKs();
static_assert(kLineK[1] == 0.221875 && kLineK[4] == 0.14375000000000002 &&
                  kLineK[8] == -0.01249999999999999 && kLineK[15] == -0.33802083333333333,
              "the layout's values, bit for bit");

}  // namespace

void renderTitleScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, 1 / g_screenAspect, 1, 1000);
    // The game's first frame expects the modelview current and clean.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glFlush();

    glColor3f(1, 1, 1);
    // A game that ended on 0 shows no block, even under an earlier high score.
    if (g_score > 0) drawScores();
    for (std::size_t n = 0; n < kLineCount; ++n) {
        const float y = static_cast<float>(g_screenAspect * kLineK[n]);
        glRasterPos3f(kTitleLines[n].x, y, kOverlayZ);
        drawText(kTitleLines[n].text);
    }
}
