// The game on native Wayland: weston's X11 backend nested in a private Xvfb, the game started
// with no DISPLAY, driven through weston by X input, its picture read from weston's window.
#include <GLFW/glfw3.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "harness.h"

#include <X11/Xlib.h>  // last: its macros clash with GoogleTest's names

#ifdef GLFW_PLATFORM_WAYLAND
namespace {

constexpr int kStartMs = 20000;
constexpr int kFrameMs = 30000;  // frames slow to a few a second with a target close by
constexpr int kExitMs = 10000;
constexpr int kClicks = 4;  // pistol shots allowed for one enlarged crosshair to be seen
constexpr const char* kSocket = "orbfall";
// GLFW's own decorations (4-pixel borders, a 24-pixel bar) round the game's 1024 x 768 fill
// an output of this size, so weston's shell has nowhere else to put the window.
constexpr int kOutputWidth = 1028;
constexpr int kOutputHeight = 792;

// Where the far corners show once the view has turned either way; mirror images.
const e2e::Box kRightHalf = {560, 120, 1015, 740};
const e2e::Box kLeftHalf = {8, 120, 463, 740};

bool onPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string file = dirs.substr(start, end - start) + "/" + program;
        if (end > start && access(file.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// weston on the harness X server, with a runtime directory and socket of its own.
class Weston {
public:
    explicit Weston(const e2e::XServer& server) {
        char pattern[] = "/tmp/orbfall-wayland-XXXXXX";
        if (!mkdtemp(pattern)) return;
        dir_ = pattern;
        const std::string config = dir_ + "/weston.ini";
        std::ofstream(config) << "[shell]\npanel-position=none\n";
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test that dies takes weston along
            setenv("DISPLAY", server.name().c_str(), 1);
            setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
            const int quiet = open("/dev/null", O_RDWR);
            dup2(quiet, 0);
            dup2(quiet, 1);
            dup2(quiet, 2);
            const std::string width = "--width=" + std::to_string(kOutputWidth);
            const std::string height = "--height=" + std::to_string(kOutputHeight);
            const std::string configArg = "--config=" + config;
            execlp("weston", "weston", "--backend=x11", configArg.c_str(), width.c_str(),
                   height.c_str(), "--socket=orbfall", "--idle-time=0", nullptr);
            _exit(127);
        }
    }
    ~Weston() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            const bool ended = e2e::waitUntil([&] { return waitpid(pid_, nullptr, WNOHANG) != 0; },
                                              5000);
            if (!ended) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
        }
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }
    Weston(const Weston&) = delete;
    Weston& operator=(const Weston&) = delete;

    // Waits until the compositor accepts connections on its socket.
    bool listening(int timeoutMs) const {
        if (pid_ <= 0) return false;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = dir_ + "/" + kSocket;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        return e2e::waitUntil(
            [&] {
                const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                const bool ok = fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address),
                                                   sizeof address) == 0;
                if (fd >= 0) close(fd);
                return ok;
            },
            timeoutMs);
    }
    std::vector<std::string> clientEnvironment() const {
        return {std::string("WAYLAND_DISPLAY=") + kSocket, "XDG_RUNTIME_DIR=" + dir_};
    }

private:
    pid_t pid_ = -1;
    std::string dir_;
};

// The top left of the game's picture in weston's window: the first black row under the
// window's bar and the first black column beside its border, the title screen's margins.
bool findPicture(e2e::GameWindow& window, int& column, int& row) {
    window.setOrigin(0, 0);
    const e2e::Picture p = window.grab({0, 0, kOutputWidth - 1, kOutputHeight - 1});
    if (p.empty()) return false;
    const auto blackRun = [&](int c, int r, int dc, int dr) {
        for (int n = 0; n < 10; ++n)
            if (p.at(c + n * dc, r + n * dr).sum() != 0) return false;
        return true;
    };
    for (row = 0; row < 40 && !blackRun(kOutputWidth / 2, row, 0, 1); ++row) {
    }
    for (column = 0; column < 40 && !blackRun(column, row + 50, 1, 0); ++column) {
    }
    return row < 40 && column < 40;
}

// Brightness of the crosshair's pixels 8 to 10 out from the centre along each arm, less that
// of the pixels 5 further out across it: high while the arms are at rest, gone while a shot
// has them enlarged.
double armContrast(const e2e::Picture& p) {
    double on = 0, beside = 0;
    for (int d = 8; d <= 10; ++d) {
        for (int half = 0; half < 2; ++half) {
            const int across = half == 0 ? -1 : 0, away = half == 0 ? -5 : 5;
            on += p.at(511 - d, 384 + across).sum() + p.at(512 + d, 384 + across).sum() +
                  p.at(512 + across, 383 - d).sum() + p.at(512 + across, 384 + d).sum();
            beside += p.at(511 - d, 384 + across + away).sum() +
                      p.at(512 + d, 384 + across + away).sum() +
                      p.at(512 + across + away, 383 - d).sum() +
                      p.at(512 + across + away, 384 + d).sum();
        }
    }
    return (on - beside) / 24;
}
const e2e::Box kCrosshairArea = {484, 356, 540, 412};

}  // namespace
#endif

TEST(NativeWayland, PlaysUnderWestonAndPrintsNothing) {
    if (e2e::windowsBuild()) GTEST_SKIP() << "orbfall.exe is a Windows program: no native Wayland";
#ifndef GLFW_PLATFORM_WAYLAND
    GTEST_SKIP() << "GLFW " << GLFW_VERSION_MAJOR << "." << GLFW_VERSION_MINOR
                 << " has no native Wayland platform (GLFW 3.4 has)";
#else
    if (!glfwPlatformSupported(GLFW_PLATFORM_WAYLAND))
        GTEST_SKIP() << "this GLFW library is built without Wayland";
    if (!onPath("weston")) GTEST_SKIP() << "weston is not installed";

    e2e::XServer server({"-screen", "0", "1280x1024x24"});
    ASSERT_TRUE(server.ok()) << server.error();
    Weston weston(server);
    ASSERT_TRUE(weston.listening(kStartMs)) << "weston did not open its socket";

    e2e::Game::Options options;  // no DISPLAY: GLFW goes to Wayland
    e2e::Game game(options, weston.clientEnvironment());
    ASSERT_TRUE(game.started());
    e2e::GameWindow window(server, "Weston Compositor - screen0");
    ASSERT_TRUE(window.find(kStartMs)) << window.error();

    int column = 0, row = 0;
    e2e::Picture picture;
    const bool titled = e2e::waitUntil(
        [&] {
            if (!findPicture(window, column, row)) return false;
            window.setOrigin(column, row);
            picture = window.grab();
            return e2e::showsTitleScreen(picture);
        },
        kStartMs);
    ASSERT_TRUE(titled) << "no title screen in weston's window (game running: "
                        << game.running() << ", stderr: " << game.standardError() << ")";

    // weston gives its keyboard to the focused window and its pointer to the one under it.
    XSetInputFocus(server.display(), window.id(), RevertToPointerRoot, CurrentTime);
    window.moveTo(512, 384);
    // weston sends the pointer's entry with the first motion inside; a motion that enters
    // turns nothing, so enter before the game starts, where turns are reset anyway.
    for (int dx : {4, -4}) {
        usleep(300 * 1000);  // weston's X11 backend takes the entry and the motion apart
        window.moveBy(dx, 0);
    }
    usleep(300 * 1000);
    window.tapKey("p");
    e2e::Picture ahead;
    ASSERT_TRUE(window.waitForPicture(e2e::showsGameFrame, kFrameMs, ahead)) << "no game after P";
    EXPECT_LT(ahead.verticalEdgeColumn(kRightHalf), 0) << "a wall corner in view at the start";
    EXPECT_LT(ahead.verticalEdgeColumn(kLeftHalf), 0) << "a wall corner in view at the start";

    // The same motion right, then twice as far left: the view must turn as far either way.
    window.moveBy(80, 0);
    e2e::Picture right;
    ASSERT_TRUE(window.waitForPicture(
        [](const e2e::Picture& p) { return p.verticalEdgeColumn(kRightHalf) >= 0; }, kFrameMs,
        right))
        << "no turn to the right";
    const double rightCorner = right.verticalEdgeColumn(kRightHalf);
    window.moveBy(-160, 0);
    e2e::Picture left;
    ASSERT_TRUE(window.waitForPicture(
        [](const e2e::Picture& p) { return p.verticalEdgeColumn(kLeftHalf) >= 0; }, kFrameMs,
        left))
        << "no turn to the left";
    const double leftCorner = left.verticalEdgeColumn(kLeftHalf);
    RecordProperty("corner_turned_right", std::to_string(rightCorner));
    RecordProperty("corner_turned_left", std::to_string(leftCorner));
    EXPECT_NEAR(rightCorner - 512.0, 512.0 - leftCorner, 1.5)
        << "corner at column " << rightCorner << " turned right, " << leftCorner << " left";

    // A shot enlarges the crosshair for a few frames: grab only around it, back to back.
    e2e::Picture rest;
    const bool clear = window.waitForPicture(
        [](const e2e::Picture& p) { return armContrast(p) > 30; }, kFrameMs, rest,
        kCrosshairArea, 0);
    ASSERT_TRUE(clear) << "crosshair arms never stood out: contrast " << armContrast(rest);
    // Six frames can pass before a starved compositor shows one, so a few clicks are allowed.
    e2e::Picture shot;
    bool enlarged = false;
    for (int click = 0; click < kClicks && !enlarged; ++click) {
        window.click(1);
        enlarged = window.waitForPicture(
            [](const e2e::Picture& p) { return armContrast(p) < 10; }, kFrameMs / 4 / kClicks,
            shot, kCrosshairArea, 0);
    }
    EXPECT_TRUE(enlarged) << kClicks << " clicks did not enlarge the crosshair: contrast "
                          << armContrast(shot);

    window.tapKey("q");
    EXPECT_TRUE(window.waitForPicture(e2e::showsTitleScreen, kFrameMs, picture))
        << "no title screen after Q";
    window.tapKey("Escape");
    ASSERT_TRUE(game.waitExit(kExitMs)) << "still running after Escape";
    EXPECT_EQ(game.exitStatus(), 0) << "signal " << game.termSignal();
    EXPECT_EQ(game.standardOutput(), "");
    EXPECT_EQ(game.standardError(), "");
#endif
}
