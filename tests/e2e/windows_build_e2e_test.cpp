// Covers a Windows build under Wine against the Linux build beside the tests, on one X server:
// the same title screen to the pixel, and a window with the same samples and depth. The rest
// of the end-to-end tests run against the Windows build on their own (tools/windows).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "harness.h"

namespace {

constexpr int kWindowMs = 20000;
constexpr int kExitMs = 15000;

#define SKIP_WITHOUT_A_WINDOWS_BUILD()                                                    \
    if (!e2e::windowsBuild())                                                             \
    GTEST_SKIP() << "ORBFALL_E2E_GAME names no Windows build (an orbfall.exe) to compare " \
                    "with this one"

// The title screen of a game program on the server, once it has drawn it twice alike.
e2e::Picture titleScreen(e2e::XServer& server, const std::string& program) {
    e2e::Game game({server.name(), false, program});
    e2e::GameWindow window(server);
    e2e::Picture title, again;
    EXPECT_TRUE(window.find(kWindowMs)) << program << ": " << window.error();
    if (!window.found()) return {};
    EXPECT_TRUE(window.waitForPicture(e2e::showsTitleScreen, kWindowMs, title)) << program;
    EXPECT_TRUE(window.waitForPicture(
        [&](const e2e::Picture& p) { return p.countDiff(title, 0) == 0; }, kWindowMs, again))
        << program << ": the title screen keeps changing";
    EXPECT_TRUE(window.focus(kWindowMs)) << window.error();
    window.tapKey("Escape");
    EXPECT_TRUE(game.waitExit(kExitMs));
    EXPECT_EQ(game.exitStatus(), 0) << program;
    return again;
}

TEST(WindowsBuild, TitleScreenIsTheLinuxBuildsToThePixel) {
    SKIP_WITHOUT_A_WINDOWS_BUILD();
    e2e::XServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    const e2e::Picture linux = titleScreen(server, e2e::builtGame());
    const e2e::Picture windows = titleScreen(server, e2e::gameUnderTest());
    ASSERT_FALSE(linux.empty() || windows.empty());
    const int differing = windows.countDiff(linux, 0);
    EXPECT_EQ(differing, 0) << "pixels differ; the grabs: " << linux.save("/tmp/title-linux.ppm")
                            << " " << windows.save("/tmp/title-windows.ppm");
    std::printf("title screens: %d of %d pixels differ\n", differing,
                e2e::kWindowWidth * e2e::kWindowHeight);
}

// GLFW's sample count is only a hint: each build gets what the display's formats give.
TEST(WindowsBuild, WindowGetsTheLinuxBuildsSamplesAndDepth) {
    SKIP_WITHOUT_A_WINDOWS_BUILD();
    e2e::XServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    const std::string linux = e2e::windowFormat(server, e2e::builtGame());
    const std::string windows = e2e::windowFormat(server, e2e::gameUnderTest());
    EXPECT_NE(linux, "");
    EXPECT_EQ(windows, linux);
    std::printf("Linux build: %sWindows build under Wine: %s", linux.c_str(), windows.c_str());
}

}  // namespace
