// Covers how the game ends: Escape, a window-manager close request, and no display or no
// OpenGL to open its window with.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "harness.h"

namespace {

constexpr int kExitMs = 15000;

// A display name nothing listens on: no socket and no lock file for that number.
std::string absentDisplay() {
    struct stat info;
    for (int n = 987; n > 900; --n) {
        const std::string number = std::to_string(n);
        if (stat(("/tmp/.X11-unix/X" + number).c_str(), &info) == 0) continue;
        if (stat(("/tmp/.X" + number + "-lock").c_str(), &info) == 0) continue;
        return ":" + number;
    }
    return "";
}

void expectSilentExit(e2e::Game& game, int status) {
    ASSERT_TRUE(game.waitExit(kExitMs)) << "still running after " << kExitMs << " ms";
    EXPECT_EQ(game.termSignal(), 0);
    EXPECT_EQ(game.exitStatus(), status);
    EXPECT_EQ(game.standardOutput(), "");
    EXPECT_EQ(game.standardError(), "");
}

// A game that crashed may still report status 0 (Wine can): its window must be gone too, and
// a crash would have said so on stderr.
void expectSilentExit(e2e::Session& session, int status) {
    expectSilentExit(session.game, status);
    EXPECT_TRUE(session.window.gone()) << "the game's window is still there";
}

TEST(GameExit, OnlyEscapeOnTitleScreenExitsZeroSilently) {
    e2e::Session session;
    ASSERT_TRUE(session.ready()) << session.error;
    for (const char* key : {"x", "Return", "space", "Tab", "F1", "1"}) session.window.tapKey(key);
    // X events come in order: answering the pointer, then Escape, shows the keys read and lived.
    session.window.moveBy(60, -40);
    ASSERT_TRUE(session.window.waitPointerCentred(kExitMs)) << "no answer after the keys";
    session.window.tapKey("Escape");
    expectSilentExit(session, 0);
}

TEST(GameExit, CloseRequestOnTitleScreenExitsZeroSilently) {
    e2e::Session session;
    ASSERT_TRUE(session.ready()) << session.error;
    session.window.requestClose();
    expectSilentExit(session, 0);
}

TEST(GameExit, CloseRequestDuringGameExitsZeroSilently) {
    e2e::Session session;
    ASSERT_TRUE(session.ready()) << session.error;
    e2e::Picture frame;
    ASSERT_TRUE(session.startPlaying(frame)) << "no game frame after P";
    session.window.requestClose();
    expectSilentExit(session, 0);
}

TEST(GameExit, NoDisplayExitsOneSilently) {
    {
        SCOPED_TRACE("DISPLAY unset");
        e2e::Game game(e2e::Game::Options{"", true});
        ASSERT_TRUE(game.started());
        expectSilentExit(game, 1);
    }
    {
        const std::string display = absentDisplay();
        ASSERT_NE(display, "");
        SCOPED_TRACE("DISPLAY=" + display);
        e2e::Game game(e2e::Game::Options{display, true});
        ASSERT_TRUE(game.started());
        expectSilentExit(game, 1);
    }
}

TEST(GameExit, DisplayWithoutGlxExitsOneSilently) {
    e2e::XServer server({"-extension", "GLX"});
    ASSERT_TRUE(server.ok()) << server.error();
    e2e::Game game(e2e::Game::Options{server.name(), false});
    ASSERT_TRUE(game.started());
    expectSilentExit(game, 1);
}

}  // namespace
