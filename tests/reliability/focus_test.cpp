// Covers the game window losing and regaining the focus, to another window and by being
// iconified and restored: nothing stays held and the view does not jump on the re-capture.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "core/game_state.h"
#include "app/window.h"
#include "harness.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"

// Last: Xlib's macros (None, Bool, Status) would otherwise break the headers above.
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

constexpr int kWaitMs = 5000;
constexpr int kSettleMs = 300;  // polling after a step that should change nothing

// A private X server for the process: the fake input and focus changes of this test must not
// meet another test's windows.
e2e::XServer& privateServer() {
    static e2e::XServer server;
    return server;
}

class WindowFocus : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        ASSERT_TRUE(privateServer().ok()) << privateServer().error();
        setenv("DISPLAY", privateServer().name().c_str(), 1);
        openGameWindow();
        installKeyCallback();
        display_ = XOpenDisplay(nullptr);
        ASSERT_NE(display_, nullptr);
        game_ = glfwGetX11Window(g_window);
        other_ =
            XCreateSimpleWindow(display_, DefaultRootWindow(display_), 1100, 0, 150, 150, 0, 0, 0);
        XMapWindow(display_, other_);
        XSync(display_, False);
        ASSERT_TRUE(focus(game_));
    }

    void TearDown() override {
        if (display_) {
            XDestroyWindow(display_, other_);
            XCloseDisplay(display_);
        }
        GameStateTest::TearDown();
    }

    // Polls the game's events until check holds, at most timeoutMs; true if it held.
    bool pollUntil(const std::function<bool()>& check, int timeoutMs) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            pollEvents();
            if (check()) return true;
            if (std::chrono::steady_clock::now() >= end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    void settle() {
        pollUntil([] { return false; }, kSettleMs);
    }

    bool focus(Window window) {
        XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
        XSync(display_, False);
        const int wanted = window == game_ ? GLFW_TRUE : GLFW_FALSE;
        const bool seen = pollUntil(
            [&] { return glfwGetWindowAttrib(g_window, GLFW_FOCUSED) == wanted; }, kWaitMs);
        settle();
        return seen;
    }

    void key(KeySym keysym, bool press) {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), press, CurrentTime);
        XSync(display_, False);
    }

    void button(unsigned number, bool press) {
        XTestFakeButtonEvent(display_, number, press, CurrentTime);
        XSync(display_, False);
    }

    void pointerTo(int x, int y) {  // screen coordinates; the game window sits at the origin
        XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
        XSync(display_, False);
    }

    // A small real motion now turns the view by exactly its 0.25 degrees per pixel, with
    // nothing else in between.
    void expectViewTurnsOnlyByMotion() {
        const double yaw = g_yaw;
        const double pitch = g_pitch;
        XTestFakeRelativeMotionEvent(display_, 8, 4, CurrentTime);
        XSync(display_, False);
        ASSERT_TRUE(pollUntil([&] { return g_yaw != yaw; }, kWaitMs)) << "the motion never came";
        EXPECT_EQ(g_yaw, yaw + 2.0);
        EXPECT_EQ(g_pitch, pitch + 1.0);
    }

    // What a window manager does for XIconifyWindow and for the restore: Xvfb runs none.
    void setWmState(long state) {
        const Atom wmState = XInternAtom(display_, "WM_STATE", False);
        const long value[2] = {state, None};
        XChangeProperty(display_, game_, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value), 2);
    }

    Display* display_ = nullptr;
    Window game_ = 0;
    Window other_ = 0;
};

}  // namespace

TEST_F(WindowFocus, FocusLossLeavesNoKeyOrTriggerHeld) {
    g_weapon = MachineGun;
    key(XK_w, true);
    button(1, true);
    ASSERT_TRUE(pollUntil([] { return g_moveDir.z == -1 && g_triggerHeld; }, kWaitMs));

    ASSERT_TRUE(focus(other_));
    EXPECT_EQ(g_moveDir.z, 0);
    EXPECT_FALSE(g_triggerHeld);
    key(XK_w, false);  // let go while another window has the keyboard
    button(1, false);
    ASSERT_TRUE(focus(game_));
    EXPECT_EQ(g_moveDir.x, 0);
    EXPECT_EQ(g_moveDir.z, 0);
    EXPECT_FALSE(g_triggerHeld);

    key(XK_a, true);  // and the keys still work
    EXPECT_TRUE(pollUntil([] { return g_moveDir.x == 1; }, kWaitMs));
    key(XK_a, false);
}

TEST_F(WindowFocus, RegainedFocusDoesNotTurnTheView) {
    expectViewTurnsOnlyByMotion();
    const double yaw = g_yaw;
    const double pitch = g_pitch;

    {
        SCOPED_TRACE("another window had the focus; the pointer came back in before it");
        ASSERT_TRUE(focus(other_));
        pointerTo(1150, 50);
        settle();
        pointerTo(100, 100);
        settle();
        pointerTo(120, 100);
        ASSERT_TRUE(focus(game_));
        EXPECT_EQ(g_yaw, yaw);
        EXPECT_EQ(g_pitch, pitch);
        expectViewTurnsOnlyByMotion();
    }

    const double yawBefore = g_yaw;
    const double pitchBefore = g_pitch;
    {
        SCOPED_TRACE("iconified with the pointer elsewhere, then restored");
        XIconifyWindow(display_, game_, DefaultScreen(display_));
        XUnmapWindow(display_, game_);
        setWmState(IconicState);
        XSync(display_, False);
        ASSERT_TRUE(
            pollUntil([] { return glfwGetWindowAttrib(g_window, GLFW_ICONIFIED); }, kWaitMs));
        pointerTo(800, 700);
        settle();
        setWmState(NormalState);
        XMapWindow(display_, game_);
        XSync(display_, False);
        ASSERT_TRUE(
            pollUntil([] { return !glfwGetWindowAttrib(g_window, GLFW_ICONIFIED); }, kWaitMs));
        ASSERT_TRUE(focus(game_));
        EXPECT_EQ(g_yaw, yawBefore);
        EXPECT_EQ(g_pitch, pitchBefore);
        expectViewTurnsOnlyByMotion();
    }
}

TEST_F(WindowFocus, HeldKeysCountOnce) {
    // W and E held a second: X repeats 25 a second after 660 ms (Xvfb not for XTest keys).
    const GLFWkeyfun adapter = glfwSetKeyCallback(g_window, nullptr);
    g_shotgunUnlocked = true;
    for (int n = 0; n < 10; ++n) {
        const int action = n == 0 ? GLFW_PRESS : GLFW_REPEAT;
        for (int key : {GLFW_KEY_W, GLFW_KEY_E}) adapter(g_window, key, 0, action, 0);
    }
    EXPECT_EQ(g_moveDir.z, -1);    // still walking
    EXPECT_EQ(g_weapon, Shotgun);  // switched once
}
