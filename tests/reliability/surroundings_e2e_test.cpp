// Covers surroundings that give the game less than it asks for: a GL without multisampled
// visuals, where the 4 samples the window asks for are only a preference and the game runs.
// (No display and no GLX at all are covered with the other ways out, in exit_e2e_test.)
#include <gtest/gtest.h>

#include "harness.h"

namespace {

constexpr int kWindowMs = 30000;
constexpr int kTitleMs = 30000;
constexpr int kExitMs = 30000;

}  // namespace

// Mesa's softpipe offers no multisampled visual at all (glxinfo -v lists only multiSample=0),
// unlike llvmpipe, which offers 4.
TEST(Surroundings, NoMultisampledVisualStillShowsTheTitleScreen) {
    e2e::XServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    e2e::Game game({server.name(), false}, {"GALLIUM_DRIVER=softpipe"});
    e2e::GameWindow window(server);
    ASSERT_TRUE(window.find(kWindowMs))
        << window.error() << " (the game " << (game.running() ? "runs" : "has ended") << ")";
    ASSERT_TRUE(window.focus(kWindowMs)) << window.error();
    e2e::Picture last;
    EXPECT_TRUE(window.waitForPicture(e2e::showsTitleScreen, kTitleMs, last));

    window.tapKey("Escape");
    ASSERT_TRUE(game.waitExit(kExitMs));
    EXPECT_EQ(game.exitStatus(), 0);
    EXPECT_EQ(game.standardOutput(), "");
    EXPECT_EQ(game.standardError(), "");
}
