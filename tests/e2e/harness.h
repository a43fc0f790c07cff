// End-to-end harness: a private Xvfb, the game as a child process, real X input and window grabs.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "picture.h"

typedef struct _XDisplay Display;
typedef unsigned long XID;

namespace e2e {

constexpr const char* kWindowTitle = "Orbfall (by the Orbfall authors)";
constexpr int kPollMs = 100;  // between grabs and checks while waiting

// Runs check every 100 ms until it holds or timeoutMs have passed; true if it held.
bool waitUntil(const std::function<bool()>& check, int timeoutMs);

// A private X server on a display number it picks itself, so parallel tests never meet.
class XServer {
public:
    explicit XServer(std::vector<std::string> extraArgs = {});
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool ok() const { return display_ != nullptr; }
    const std::string& error() const { return error_; }
    const std::string& name() const { return name_; }  // ":N"
    Display* display() const { return display_; }      // the harness's own connection

private:
    pid_t pid_ = -1;
    std::string name_;
    Display* display_ = nullptr;
    std::string error_;
};

// The game built beside the tests, and the game under test: the one ORBFALL_E2E_GAME names
// (an installed build, or a Windows build's orbfall.exe), else that one.
std::string builtGame();
std::string gameUnderTest();
// Whether the game under test is a Windows build, which runs under Wine.
bool windowsBuild();
// A program built beside the game: the same directory, and .exe for a Windows build's.
std::string besideGame(const std::string& game, const std::string& name);

// What window_probe, built beside game, prints of the window the game's own code opens on the
// server: "GL_SAMPLES n GL_DEPTH_BITS n\n"; empty if it could not open one.
std::string windowFormat(const XServer& server, const std::string& game,
                         const std::vector<std::string>& environment = {});

// The game executable as a child process with its output captured. A Windows program is
// started through tools/lib/wine-game, and the process is then the program under Wine.
class Game {
public:
    struct Options {
        std::string display;        // DISPLAY for the game; empty leaves it unset
        bool noopRenderer = false;  // GALLIUM_NOOP=1: GL calls run, nothing is drawn
        std::string program = "";   // empty: the game under test
    };

    // environment: NAME=value entries that replace or add to the inherited ones.
    explicit Game(const Options& options, const std::vector<std::string>& environment = {});
    ~Game();  // kills the game if it still runs
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }  // -1 once it has been reaped
    bool running();

    // Waits for the exit; on timeout the game is killed and false returned.
    bool waitExit(int timeoutMs);
    int exitStatus() const { return exitStatus_; }  // -1 unless it exited normally
    int termSignal() const { return termSignal_; }  // 0 unless a signal ended it
    // Exited with status 0. On the no-op renderer the signal that a bare GL context's
    // teardown dies of on the same display counts too: that driver's fault, not the game's.
    bool quitCleanly() const;

    std::string standardOutput() const;
    std::string standardError() const;

private:
    void reap(int status);

    Options options_;
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    int exitStatus_ = -1;
    int termSignal_ = 0;
};

// The game's buffer swaps, recorded by a preload library: when each was asked for, on the
// clock of monotonicMs, and how many bytes the process held through operator new after it.
struct Swap {
    double ms;
    long long heldBytes;
};

// Why the no-op GL driver cannot run the game under test on a display, or null when it can:
// asked when such a game did not start.
const char* noopRendererUnavailable(const std::string& display);

// Why the swap log cannot record the game under test, or null when it can. It is preloaded
// into a Linux program; orbfall.exe swaps inside its own GLFW, under Wine, out of its reach.
const char* swapLogUnavailable();

class SwapLog {
public:
    SwapLog();   // a file of its own for one game
    ~SwapLog();  // removes it
    SwapLog(const SwapLog&) = delete;
    SwapLog& operator=(const SwapLog&) = delete;

    // The entries that load the recorder into a Game (its environment argument).
    std::vector<std::string> environment() const;
    // The swaps, once the game has quit cleanly; empty before.
    std::vector<Swap> read() const;

private:
    std::string path_;
};

// Milliseconds on CLOCK_MONOTONIC, the swap log's clock.
double monotonicMs();

// The game's top-level window on a harness X server, driven with XTest.
class GameWindow {
public:
    // title names another top-level window holding the game's picture (a nested
    // compositor's output); the game's own window must be 1024 x 768.
    explicit GameWindow(XServer& server, std::string title = kWindowTitle);

    // Polls the server's top-level windows for the game's title until it is mapped.
    bool find(int timeoutMs);
    bool found() const { return window_ != 0; }
    // The window found is destroyed or unmapped: the game has closed it, or its process ended.
    bool gone();
    XID id() const { return window_; }
    // Where the game's picture starts in the window: grabs and moveTo count from there.
    void setOrigin(int column, int row);
    const std::string& error() const { return error_; }

    // Gives the window the keyboard focus and waits until the game has captured the
    // pointer (it parks it in the window centre when it gets the focus).
    bool focus(int timeoutMs);

    void pressKey(const char* keysym);
    void releaseKey(const char* keysym);
    void tapKey(const char* keysym);
    void moveBy(int dx, int dy);
    void moveTo(int column, int row);  // window coordinates
    void pressButton(int button);      // 1 left, 2 middle, 3 right
    void releaseButton(int button);
    void click(int button);

    // The pointer in window coordinates; false if it is not over the window.
    bool pointer(int& column, int& row);
    // Waits until the game has put the pointer back in the window centre.
    bool waitPointerCentred(int timeoutMs);

    // WM_PROTOCOLS / WM_DELETE_WINDOW, as a window manager's close button sends it.
    void requestClose();

    Picture grab();
    Picture grab(const Box& region);

    // Grabs every intervalMs until check holds for a grab; that grab is left in last. With
    // ORBFALL_E2E_DUMP set to a directory, every last grab is also saved there. Effects that
    // last a few frames need a small region and no interval: the game may run at 60 frames
    // a second.
    bool waitForPicture(const std::function<bool(const Picture&)>& check, int timeoutMs,
                        Picture& last);
    bool waitForPicture(const std::function<bool(const Picture&)>& check, int timeoutMs,
                        Picture& last, const Box& region, int intervalMs);

private:
    Display* display_;
    std::string title_;
    int originColumn_ = 0;
    int originRow_ = 0;
    XID window_ = 0;
    std::string error_;
};

// One Xvfb, one game on it, its window found and focused: the usual start of a test.
struct Session {
    // environment: NAME=value entries for the game, as Game takes them.
    explicit Session(bool noopRenderer = false, std::vector<std::string> xvfbArgs = {},
                     const std::vector<std::string>& environment = {});

    bool ready() const { return error.empty(); }

    // P, then waits for the first game frame, which is left in frame.
    bool startPlaying(Picture& frame, int timeoutMs = 40000);
    // Q, then waits for the title screen.
    bool endPlaying(int timeoutMs = 20000);

    XServer server;
    Game game;
    GameWindow window;
    std::string error;
};

}  // namespace e2e
