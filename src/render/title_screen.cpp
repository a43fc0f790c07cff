// The title screen: name, controls, weapons and rules, with the last game's score above them.
#include "render/title_screen.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/game_state.h"
#include "render/font.h"
#include "render/frame.h"

namespace {

struct TitleLine {
    const char* text;  // spaced so the columns line up under the 10-pixel pitch
    float x;
    double k;  // 0.3 - n / 768 for a line n layout rows below the name; y = g_screenAspect * k
};

constexpr TitleLine kTitleLines[16] = {
    {"ORBFALL", -0.05f, 0.3},                                                    // n = 0
    {"P     PLAY GAME", -0.2f, 0.221875},                                        // n = 60
    {"WASD  MOVE", -0.2f, 0.19583333333333333},                                  // n = 80
    {"E     SWITCH WEAPON", -0.2f, 0.16979166666666667},                         // n = 100
    {"Q     END GAME", -0.2f, 0.14375000000000002},                              // n = 120
    {"ESC   QUIT", -0.2f, 0.11770833333333335},                                  // n = 140
    {"MOUSE          AIM AT TARGETS", -0.2f, 0.039583333333333345},              // n = 200
    {"LEFT CLICK     FIRE", -0.2f, 0.013541666666666678},                        // n = 220
    {"RIGHT CLICK    ZOOM", -0.2f, -0.01249999999999999},                        // n = 240
    {"PISTOL       STARTING WEAPON", -0.2f, -0.090624999999999983},              // n = 300
    {"SHOTGUN      UNLOCK AT FIFTY POINTS", -0.2f, -0.12968749999999998},        // n = 330
    {"             HIGH IMPACT    LOW RANGE", -0.2f, -0.15572916666666664},      // n = 350
    {"MACHINE GUN  UNLOCK AT ONE HUNDRED POINTS", -0.2f, -0.19479166666666664},  // n = 380
    {"             HOLD TO FIRE   HIGH SPREAD", -0.2f, -0.2208333333333333},     // n = 400
    {"DISPATCH YOUR TARGETS WITH HASTE", -0.2f, -0.29895833333333333},           // n = 460
    {"YOU LOSE A POINT EVERY SECOND", -0.2f, -0.33802083333333333},              // n = 490
};

}  // namespace

void renderTitleScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(50, 1 / g_screenAspect, 1, 1000);
    // The game's first frame expects the modelview current and clean.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glFlush();

    glColor3f(1, 1, 1);
    // A game that ended on 0 shows no block, even under an earlier high score.
    if (g_score > 0) drawScores();
    for (const TitleLine& line : kTitleLines) {
        glRasterPos3f(line.x, static_cast<float>(g_screenAspect * line.k), -1);
        drawText(line.text);
    }
}
