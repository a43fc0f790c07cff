// The game window: GLFW 3 set-up, the fixed render state, and the adapter that hands the
// input handlers their key, button and pointer codes, and re-centres the pointer.
#include "app/window.h"

#include <cctype>
#include <cstdlib>

#include "app/cpu_renderers.h"
#include "app/platform.h"
#include "core/gl.h"
#include "core/pixel_carry.h"
#include "core/screen.h"
#include "play/input.h"

GLFWwindow* g_window = nullptr;
int g_windowSamples = 4;
bool g_samplesOnCpu = std::getenv("ORBFALL_SAMPLES_ON_CPU") != nullptr;

namespace {

constexpr const char* kWindowTitle = "Orbfall (by the Orbfall authors)";
constexpr int kKeyIgnored = -1;  // reaches onKey for every key it does not handle

void keyCallback(GLFWwindow*, int key, int scancode, int action, int) {
    if (action == GLFW_REPEAT) return;  // held keys report once, as the handlers expect
    onKey(translateKey(key, glfwGetKeyName(key, scancode)),
          action == GLFW_PRESS ? kPress : kRelease);
}

// GLFW 3 reports a position that is no motion of the player when the pointer enters the
// window (its window position, even with the cursor disabled) and when the focus comes back
// (the pointer's free position from before, arriving after the re-capture). Either would turn
// the view by a jump: the reports of the poll that brought the event are dropped instead.
bool s_recapturing = false;

// Wayland reports fractions of a pixel, X11 whole ones: the handler takes whole pixels, and
// what each report leaves over goes into the next, so slow aiming neither stalls nor drifts.
PixelCarry s_carryX;
PixelCarry s_carryY;

// The motion before the jump is over: its leftover fraction does not turn the view after it.
void startRecapture() {
    s_recapturing = true;
    s_carryX = PixelCarry();
    s_carryY = PixelCarry();
}

void cursorPosCallback(GLFWwindow*, double x, double y) {
    // Back to the centre first, so every report the handler sees is an offset from it.
    recentreCursor();
    if (s_recapturing) return;
    onMouseMove(s_carryX.toPixel(x, kWindowCentreX), s_carryY.toPixel(y, kWindowCentreY));
}

void cursorEnterCallback(GLFWwindow*, int entered) {
    if (entered) startRecapture();
}

// GLFW itself releases the keys and buttons held when the focus goes, so no movement or
// trigger stays on.
void focusCallback(GLFWwindow*, int focused) {
    if (!focused) return;
    startRecapture();
    recentreCursor();  // a re-centre asked for without the focus was ignored
}

void mouseButtonCallback(GLFWwindow*, int button, int action, int) {
    onMouseButton(button, action == GLFW_PRESS ? kPress : kRelease);
}

GLFWwindow* createWindow(int samples) {
    glfwWindowHint(GLFW_SAMPLES, samples);
    return glfwCreateWindow(kWindowWidth, kWindowHeight, kWindowTitle, nullptr, nullptr);
}

bool drawnOnCpu(GLFWwindow* window) {
    glfwMakeContextCurrent(window);
    return drawsOnCpu(reinterpret_cast<const char*>(glGetString(GL_VENDOR)),
                      reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}

// Which renderer draws is known only once a context exists, so the window is made hidden and
// shown when its samples are settled: a CPU rasterizer gets a single-sampled one in its place,
// and no window flashes up on the desktop on the way. A GPU keeps the first, at no extra cost.
GLFWwindow* createGameWindow() {
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = createWindow(g_windowSamples);
    if (window && g_windowSamples > 0 && !g_samplesOnCpu && drawnOnCpu(window)) {
        glfwDestroyWindow(window);
        window = createWindow(0);
    }
    if (window) glfwShowWindow(window);
    return window;
}

}  // namespace

int translateKey(int glfwKey, const char* layoutName) {
    if (glfwKey == GLFW_KEY_ESCAPE) return kKeyEscape;
    // GLFW 3 names keys by their place on a US keyboard; the title screen names them by what
    // is printed on them. So a key that carries one ASCII character counts as that character,
    // as it did before GLFW 3 (the Q of a French keyboard ends the game, wherever it sits).
    if (layoutName && layoutName[0] && !layoutName[1]) {
        const unsigned char c = static_cast<unsigned char>(layoutName[0]);
        if (c > ' ' && c < 128) return std::toupper(c);
    }
    // Other printable keys keep their codes: capitals for letters, ASCII for the rest.
    if (glfwKey >= GLFW_KEY_SPACE && glfwKey < GLFW_KEY_ESCAPE) return glfwKey;
    return kKeyIgnored;
}

void initWindow() {
    setPlatformInitHints();
    if (!glfwInit()) std::exit(1);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_DEPTH_BITS, 24);  // the frame relies on the depth test
    setPlatformWindowHints();
#ifdef GLFW_SCALE_FRAMEBUFFER
    // A framebuffer of the window's size, scaled up by the compositor on a high-density
    // output, keeps the overlay's bitmaps in proportion with the scene. X11 ignores it.
    glfwWindowHint(GLFW_SCALE_FRAMEBUFFER, GLFW_FALSE);
#endif
    g_window = createGameWindow();
    if (!g_window) std::exit(1);
    glfwMakeContextCurrent(g_window);
    glfwSwapInterval(0);  // the tick gate paces the game, not the display
    glfwSetWindowTitle(g_window, kWindowTitle);
    glfwSetInputMode(g_window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);

    // The framebuffer may be larger than the window on a high-density display.
    int width = kWindowWidth;
    int height = kWindowHeight;
    glfwGetFramebufferSize(g_window, &width, &height);
    glViewport(0, 0, width, height);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, kViewAspect, 1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0, 0, 0, 0);

    // Set under the identity modelview, so the light stays fixed to the viewer.
    const GLfloat lightPosition[4] = {10, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);

    glfwSetCursorPos(g_window, kWindowCentreX, kWindowCentreY);
    glfwSetCursorPosCallback(g_window, cursorPosCallback);
    glfwSetMouseButtonCallback(g_window, mouseButtonCallback);
    glfwSetCursorEnterCallback(g_window, cursorEnterCallback);
    glfwSetWindowFocusCallback(g_window, focusCallback);
}

void installKeyCallback() {
    glfwSetKeyCallback(g_window, keyCallback);
}

void pollEvents() {
    glfwPollEvents();
    s_recapturing = false;
}

void recentreCursor() {
    if (g_window) glfwSetCursorPos(g_window, kWindowCentreX, kWindowCentreY);
}
