// A few scenes through exactly the GL 1.x subset the game draws with, for comparing the web
// build's GL with the desktop's picture: the font, a lit sphere list under the game's light
// and materials, a wall panel's quad strips, crosshair lines, a pushed and popped attribute
// and a raster position outside the view.
#include <cstdlib>

#include "core/game_state.h"
#include "core/gl.h"
#include "core/screen.h"
#include "render/font.h"
#include "render/frame.h"
#include "render/overlay.h"

// Keeps the frame on show until the program is ended (one per system, chosen by the build).
void keepShowing(GLFWwindow* window);

namespace {

constexpr GLfloat kLightPosition[4] = {10, 1, 1, 1};
constexpr GLfloat kObjectSpecular[4] = {1, 1, 1, 1};
constexpr GLfloat kObjectShininess = 50;
constexpr GLfloat kSphereDiffuse[4] = {0.2f, 0.5f, 0.9f, 1};
constexpr GLfloat kEllipsoidDiffuse[4] = {0.9f, 0.6f, 0.1f, 1};
constexpr GLfloat kShinyDiffuse[4] = {0.8f, 0.2f, 0.3f, 1};
constexpr GLfloat kWallAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
constexpr GLfloat kWallSpecular[4] = {0, 0, 0, 0};
constexpr GLfloat kWallDiffuse[4] = {0.6f, 0.7f, 0.6f, 1};

void overlayProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double top = 0.5 * kWindowHeight / kWindowWidth;
    glFrustum(-0.5, 0.5, -top, top, 1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

float rowY(int row) {
    return static_cast<float>(g_screenAspect * overlayK(row));
}

// Rows 0 to 239: text, figures, lines.
void drawOverlay() {
    overlayProjection();
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    glRasterPos3f(static_cast<float>(overlayX(20)), rowY(30), kOverlayZ);
    drawText("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    glRasterPos3f(static_cast<float>(overlayX(21)), rowY(51), kOverlayZ);  // a column apart
    drawText("THE QUICK BROWN FOX");
    drawNumber(Left, 1234567890, 40);
    drawNumber(Right, 987, 60);

    // Drawn nowhere: the position lies beyond the right edge, and so stays invalid for the
    // bitmaps after it.
    glRasterPos3f(0.6f, rowY(120), kOverlayZ);
    drawText("OUTSIDE");

    // The colour pushed is the one the text after the pop takes.
    glColor3f(1, 0, 0);
    glPushAttrib(GL_CURRENT_BIT);
    glColor3f(0, 1, 0);
    glRasterPos3f(static_cast<float>(overlayX(20)), rowY(150), kOverlayZ);
    drawText("GREEN");
    glPopAttrib();
    glRasterPos3f(static_cast<float>(overlayX(120)), rowY(150), kOverlayZ);
    drawText("RED");

    // Crosshair arms, right of the text.
    const float cx = 0.3f, cy = rowY(120);
    const float q = 20.0f / 512, r = 7.0f / 512;
    glBegin(GL_LINES);
    glColor3f(1, 1, 0);
    glVertex3f(cx - q, cy, kOverlayZ);
    glVertex3f(cx - r, cy, kOverlayZ);
    glVertex3f(cx + r, cy, kOverlayZ);
    glVertex3f(cx + q, cy, kOverlayZ);
    glVertex3f(cx, cy - q, kOverlayZ);
    glVertex3f(cx, cy - r, kOverlayZ);
    glVertex3f(cx, cy + r, kOverlayZ);
    glVertex3f(cx, cy + q, kOverlayZ);
    glEnd();
    glFlush();
}

GLuint compileSphere() {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    GLUquadric* quadric = gluNewQuadric();
    if (!quadric) std::exit(1);
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricTexture(quadric, GL_FALSE);
    gluSphere(quadric, 1.0, 128, 128);
    gluDeleteQuadric(quadric);
    glEndList();
    return list;
}

// Rows 240 to 767: three lit targets and a wall panel apart from them, on black. Only the one
// of unit radius keeps normals long enough for a highlight.
void drawLitScene(GLuint sphere) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, kViewAspect, 1, 200);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);

    glMaterialfv(GL_FRONT, GL_SPECULAR, kObjectSpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, kObjectShininess);
    glPushMatrix();
    glTranslatef(-3, -2.5f, -12);
    glScalef(2, 2, 2);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, kSphereDiffuse);
    glMaterialfv(GL_FRONT, GL_AMBIENT, kSphereDiffuse);
    glCallList(sphere);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(0.4f, 0.3f, -8);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, kShinyDiffuse);
    glMaterialfv(GL_FRONT, GL_AMBIENT, kShinyDiffuse);
    glCallList(sphere);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(2.5f, -2, -10);
    glRotatef(30, 0, 0, 1);
    glScalef(1.8f, 1, 1.2f);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, kEllipsoidDiffuse);
    glMaterialfv(GL_FRONT, GL_AMBIENT, kEllipsoidDiffuse);
    glEnable(GL_CULL_FACE);
    glCallList(sphere);
    glDisable(GL_CULL_FACE);
    glPopMatrix();

    // A panel turned and scaled as the walls are, lower right.
    glPushMatrix();
    glMaterialfv(GL_FRONT, GL_AMBIENT, kWallAmbient);
    glMaterialfv(GL_FRONT, GL_SPECULAR, kWallSpecular);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, kWallDiffuse);
    glTranslatef(11, -4.5f, -16);
    glScalef(6, 5, 1);
    glRotatef(-20, 0, 1, 0);
    drawWallPanel();
    glPopMatrix();
}

}  // namespace

int main() {
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    GLFWwindow* window = glfwCreateWindow(kWindowWidth, kWindowHeight, "GL scenes", nullptr, nullptr);
    if (!window) return 1;
    glfwMakeContextCurrent(window);
    glViewport(0, 0, kWindowWidth, kWindowHeight);
    glClearColor(0, 0, 0, 0);
    glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);  // under the identity modelview
    glEnable(GL_DEPTH_TEST);

    prepareFont();
    const GLuint sphere = compileSphere();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawLitScene(sphere);
    glDisable(GL_DEPTH_TEST);
    drawOverlay();
    glfwSwapBuffers(window);
    keepShowing(window);
    return 0;
}
