// The in-game frame: heads-up overlay first, then the lit scene objects and the arena walls,
// then the overlay once more on top.
#include "render/frame.h"

#include <cstddef>
#include <iterator>

#include "core/clock.h"
#include "core/game_state.h"
#include "core/gl.h"
#include "render/font.h"
#include "render/overlay.h"
#include "world/scene_objects.h"
#include "world/view_volume.h"

bool g_overlayOnTop = true;

namespace {

// Overlay: one unit spans the window's 1024-pixel width; the near plane sits at z = -1.
constexpr double kOverlayLeft = -0.5;
constexpr double kOverlayRight = 0.5;
constexpr double kOverlayTop = kOverlayRight * kWindowHeight / kWindowWidth;
constexpr double kOverlayBottom = -kOverlayTop;
constexpr double kOverlayNear = 1;
constexpr double kOverlayFar = 1000;

struct Crosshair {
    GLfloat r, g, b;
    double outer;  // distance of each arm's far end from the centre, in 1/512 (2 pixels)
    double inner;  // distance of its near end, the open gap; doubled while enlarged
};

constexpr Crosshair kCrosshairs[] = {
    // colour, outer, inner
    {1, 1, 1, 10, 3},   // Pistol: white
    {1, 0, 0, 30, 10},  // Shotgun: red
    {0, 0, 0, 20, 7},   // MachineGun: black
};
static_assert(std::size(kCrosshairs) == MachineGun + 1, "one row per weapon");
constexpr double kCrosshairUnit = 512;

// HUD raster positions from their columns and rows.
constexpr float columnX(int column) {
    return static_cast<float>(overlayX(column));
}
constexpr float kFpsX = columnX(988);
constexpr double kFpsK = overlayK(60);
constexpr float kTargetsLeftX = columnX(452);
constexpr float kTimeX = columnX(976);
constexpr double kTopLabelK = overlayK(21);
constexpr float kScoreLabelX = columnX(9);
constexpr double kHighScoreLabelK = overlayK(62);
// Row 80, divided rather than stepped: one ulp below overlayK(80).
constexpr double kNoticeK = 0.5 - 80.0 / kWindowHeight;
constexpr double kTextPitchX = kTextPitch * kPixelX;
static_assert(kFpsX == 0.46484375f && kTargetsLeftX == -0.05859375f && kTimeX == 0.453125f &&
                  kScoreLabelX == -0.4912109375f,
              "the columns, bit for bit");
static_assert(kFpsK == 0.421875 && kTopLabelK == 0.47265625 &&
                  kHighScoreLabelK == 0.41927083333333337 && kNoticeK == 0.3958333333333333,
              "the rows, bit for bit");
constexpr int kFpsRowOffset = 35;  // figure rows below the figure line
constexpr int kHighScoreRowOffset = 40;
constexpr int kPopupRowOffset = 264;

constexpr double kNoticeSeconds = 3.0;
constexpr double kPopupSeconds = 2.0;

// Scene projection: kFieldOfView divided by g_zoom; the aspect stays 4/3 whatever
// g_screenAspect says.
constexpr double kSceneNear = 1;
constexpr double kSceneFar = 200;

// Shotgun recoil: the view flies back until past 5 units, then returns at half speed.
constexpr double kRecoilTurnOffset = 5;
constexpr double kRecoilReturnVelocity = -0.5;

constexpr GLfloat kObjectSpecular[4] = {1, 1, 1, 1};
constexpr GLfloat kObjectShininess = 50;
constexpr GLfloat kWallAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
constexpr GLfloat kWallSpecular[4] = {0, 0, 0, 0};
constexpr GLfloat kWallDiffuse[4] = {0.6f, 0.7f, 0.6f, 1};

struct Wall {
    GLfloat tx, ty, tz;
    GLfloat sx, sy, sz;
    GLfloat angle, ax, ay, az;  // degrees; an angle of 0 means no rotation
};

// The side walls turn by 110 degrees, not 90: they still lie within 0.171 of their planes,
// and their unnormalised normals leave them a little dimmer than the end walls.
// Each wall stands at +-kArenaHalf on its axis.
constexpr Wall kWalls[] = {
    // translate, scale, rotation (angle; axis)
    {0, 0, -kArenaHalf, 110, 110, 1, 0, 0, 0, 0},     // far end, z = -50
    {0, 0, kArenaHalf, 110, 110, 1, 180, 1, 0, 0},    // near end, z = +50
    {-kArenaHalf, 0, 0, 1, 110, 110, 110, 0, 1, 0},   // x = -50
    {kArenaHalf, 0, 0, 1, 110, 110, -110, 0, 1, 0},   // x = +50
    {0, -kArenaHalf, 0, 110, 1, 110, -110, 1, 0, 0},  // floor, y = -50
    {0, kArenaHalf, 0, 110, 1, 110, 110, 1, 0, 0},    // ceiling, y = +50
};
static_assert(std::size(kWalls) == 6, "six walls");

constexpr int kPanelCells = 32;  // quads per side of a wall panel

// The overlay as this frame drew it, recorded while it is drawn, to be shown again on top.
GLuint s_overlayList = 0;

float overlayY(double k) {
    return static_cast<float>(g_screenAspect * k);
}

void drawCrosshair() {
    // Any other weapon value gets the pistol's, rather than a row beyond the table.
    const int row = (g_weapon >= Pistol && g_weapon <= MachineGun) ? g_weapon : Pistol;
    const Crosshair& crosshair = kCrosshairs[row];
    double inner = crosshair.inner;
    if (g_justFired || g_crosshairKick > 0) {
        --g_crosshairKick;
        g_justFired = false;
        inner *= 2;
    }
    const float q = static_cast<float>(crosshair.outer / kCrosshairUnit);
    const float r = static_cast<float>(inner / kCrosshairUnit);

    glBegin(GL_LINES);
    glColor3f(crosshair.r, crosshair.g, crosshair.b);
    glVertex3f(-q, 0, kOverlayZ);
    glVertex3f(-r, 0, kOverlayZ);
    glVertex3f(r, 0, kOverlayZ);
    glVertex3f(q, 0, kOverlayZ);
    glVertex3f(0, -q, kOverlayZ);
    glVertex3f(0, -r, kOverlayZ);
    glVertex3f(0, r, kOverlayZ);
    glVertex3f(0, q, kOverlayZ);
    glEnd();
    glFlush();
}

void drawTimeAndTargets() {
    drawNumber(Right, g_secondsLeft, 0);
    glRasterPos3f(kFpsX, overlayY(kFpsK), kOverlayZ);
    drawText("FPS");
    drawNumber(Right, g_fps, kFpsRowOffset);
    drawNumber(Center, g_targetsLeft, 0);

    glColor3f(1, 1, 1);
    glRasterPos3f(kTargetsLeftX, overlayY(kTopLabelK), kOverlayZ);
    drawText("TARGETS LEFT");
    glRasterPos3f(kTimeX, overlayY(kTopLabelK), kOverlayZ);
    drawText("TIME");
}

// The notice and the popup expire only here, on the first frame at or after their time.
void drawNotice() {
    if (g_noticeText.empty()) return;
    if (elapsedSince(g_noticeTime) / kMsPerSecond >= kNoticeSeconds) {
        g_noticeText.clear();
        return;
    }
    // Centred on the middle column, at 10 pixels per character.
    const double n = static_cast<double>(g_noticeText.size());
    glRasterPos3f(static_cast<float>(0 - n * 0.5 * kTextPitchX), overlayY(kNoticeK), kOverlayZ);
    drawText(g_noticeText.c_str());
}

void drawHitPopup() {
    if (g_lastHitScore <= 0) return;
    if (elapsedSince(g_lastHitTime) / kMsPerSecond >= kPopupSeconds) {
        g_lastHitScore = 0;
        return;
    }
    glColor3f(0, 0, 0);
    drawNumber(Center, g_lastHitScore, kPopupRowOffset);
}

void stepRecoil() {
    if (!g_recoilActive) return;
    if (g_recoilOffset > kRecoilTurnOffset) {
        g_recoilVelocity = kRecoilReturnVelocity;
        g_recoilOffset = kRecoilTurnOffset;
    } else if (g_recoilOffset < 0) {
        g_recoilActive = false;
        g_recoilVelocity = 0;
        g_recoilOffset = 0;
    }
    g_recoilOffset += g_recoilVelocity;
}

// The recoil pull comes first, so the view backs away along its own line of sight. The
// player's z is stored mirrored, hence the unnegated z.
void applyCamera() {
    glTranslatef(0, 0, static_cast<float>(-g_recoilOffset));
    glRotatef(static_cast<float>(g_roll), 0, 0, 1);
    glRotatef(static_cast<float>(g_pitch), 1, 0, 0);
    glRotatef(static_cast<float>(g_yaw), 0, 1, 0);
    glTranslatef(-g_playerPos.x, -g_playerPos.y, g_playerPos.z);
}

bool isExpired(Object* object) {
    const Sphere* sphere = dynamic_cast<const Sphere*>(object);
    return sphere && sphere->expired;
}

// Drawing advances each object; an object whose flash ended in an earlier frame goes now.
void drawObjects() {
    std::size_t i = 0;
    while (i < g_objects.size()) {
        Object* object = g_objects[i];
        if (isExpired(object)) {
            delete object;
            g_objects.erase(g_objects.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            object->draw();
            ++i;
        }
    }
}

// Records the overlay while it is drawn. The font's lists cannot be built while a list is
// recorded, so they are built first.
void startRecordingOverlay() {
    prepareFont();
    if (s_overlayList == 0) s_overlayList = glGenLists(1);
    glNewList(s_overlayList, GL_COMPILE_AND_EXECUTE);
}

void selectOverlayProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(kOverlayLeft, kOverlayRight, kOverlayBottom, kOverlayTop, kOverlayNear, kOverlayFar);
}

// The same picture again, no timer read and no count changed, under the overlay's own
// projection and unlit, as the first time; the matrices and switches are left as they were.
void redrawOverlayOnTop() {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    selectOverlayProjection();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glCallList(s_overlayList);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void drawWalls() {
    glPushMatrix();
    glMaterialfv(GL_FRONT, GL_AMBIENT, kWallAmbient);
    glMaterialfv(GL_FRONT, GL_SPECULAR, kWallSpecular);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, kWallDiffuse);
    bool first = true;
    for (const Wall& wall : kWalls) {
        if (!first) glPushMatrix();  // each wall starts from the camera transform
        first = false;
        glTranslatef(wall.tx, wall.ty, wall.tz);
        glScalef(wall.sx, wall.sy, wall.sz);
        if (wall.angle != 0) glRotatef(wall.angle, wall.ax, wall.ay, wall.az);
        if (g_viewCulling && wallPanelOutsideView()) {  // behind or beside the view: clipped away
            ++g_panelsCulled;
        } else {
            drawWallPanel();
        }
        glPopMatrix();
    }
}

}  // namespace

void renderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    // The overlay goes first, at window depth 0: the scene drawn after it fails the depth
    // test wherever the overlay set a pixel.
    selectOverlayProjection();
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);

    if (g_overlayOnTop) startRecordingOverlay();
    drawCrosshair();
    glColor3f(1, 1, 1);
    drawScores();
    drawTimeAndTargets();
    drawNotice();
    drawHitPopup();
    if (g_overlayOnTop) glEndList();

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView / g_zoom, kViewAspect, kSceneNear, kSceneFar);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    stepRecoil();
    applyCamera();

    glMaterialfv(GL_FRONT, GL_SPECULAR, kObjectSpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, kObjectShininess);
    glColor3f(0, 0, 0);
    drawObjects();
    drawWalls();

    // A multisampled window on Mesa keeps a text bitmap's depth in one sample of four, so the
    // walls and targets would cover the rest and leave the HUD faint: it goes on top once more.
    if (g_overlayOnTop) redrawOverlayOnTop();
}

void drawScores() {
    drawNumber(Left, g_score, 0);
    if (g_highScore > 0) drawNumber(Left, g_highScore, kHighScoreRowOffset);
    glColor3f(1, 1, 1);
    glRasterPos3f(kScoreLabelX, overlayY(kTopLabelK), kOverlayZ);
    drawText("SCORE");
    if (g_highScore > 0) {
        glRasterPos3f(kScoreLabelX, overlayY(kHighScoreLabelK), kOverlayZ);
        drawText("HIGH SCORE");
    }
}

void drawWallPanel() {
    glPushMatrix();
    glTranslated(-0.5, -0.5, 0);
    for (int i = 0; i < kPanelCells; ++i) {
        glBegin(GL_QUAD_STRIP);
        const double v0 = static_cast<double>(i) / kPanelCells;
        const double v1 = static_cast<double>(i + 1) / kPanelCells;
        for (int j = 0; j <= kPanelCells; ++j) {
            const double u = static_cast<double>(j) / kPanelCells;
            glNormal3d(0, 0, 1);
            glVertex3d(u, v0, 0);
            glNormal3d(0, 0, 1);
            glVertex3d(u, v1, 0);
        }
        glEnd();
    }
    glPopMatrix();
}
