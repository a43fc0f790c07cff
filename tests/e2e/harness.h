// End-to-end harness: a private Xvfb, the game as a child process, real X input and window grabs.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

typedef struct _XDisplay Display;
typedef unsigned long XID;

namespace e2e {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;
constexpr const char* kWindowTitle = "Orbfall (by the Orbfall authors)";

struct Rgb {
    int r, g, b;
    int sum() const { return r + g + b; }
};

// Inclusive pixel rectangle: columns left..right, rows top..bottom counted down from the top.
struct Box {
    int left, top, right, bottom;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    Box grown(int by) const { return {left - by, top - by, right + by, bottom + by}; }
};

std::string describe(const Box& box);

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
    Display* display() const { return display_; }       // the harness's own connection

private:
    pid_t pid_ = -1;
    std::string name_;
    Display* display_ = nullptr;
    std::string error_;
};

// The game executable as a child process with its output captured. The executable is the
// one built beside the tests, or the one named by ORBFALL_E2E_GAME.
class Game {
public:
    struct Options {
        std::string display;        // DISPLAY for the game; empty leaves it unset
        bool noopRenderer = false;  // GALLIUM_NOOP=1: GL calls run, nothing is drawn
    };

    explicit Game(const Options& options);
    ~Game();  // kills the game if it still runs
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    bool started() const { return pid_ > 0; }
    bool running();

    // Waits for the exit; on timeout the game is killed and false returned.
    bool waitExit(int timeoutMs);
    int exitStatus() const { return exitStatus_; }  // -1 unless it exited normally
    int termSignal() const { return termSignal_; }  // 0 unless a signal ended it

    std::string standardOutput() const;
    std::string standardError() const;

private:
    void reap(int status);

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    int exitStatus_ = -1;
    int termSignal_ = 0;
};

// One grab of the game window's contents.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height, std::vector<unsigned char> rgb);

    bool empty() const { return rgb_.empty(); }
    Rgb at(int column, int row) const;

    // Bounding box of the pixels whose brightest channel exceeds threshold; false if none.
    bool litBox(const Box& area, Box& box, int threshold = 40) const;
    int litCount(const Box& area, int threshold = 40) const;

    // Pixels of the area that are neither pure black nor pure white.
    int impureCount(const Box& area) const;

    // Overlay pixels judged against their surroundings: brighter (channel sum) than the
    // area's median by more than rise. The walls and targets drawn after the overlay can
    // leave overlay text as a tint, so absolute whiteness says little during a game.
    bool brightBox(const Box& area, Box& box, int rise = 30) const;
    int medianBrightness(const Box& area) const;
    // Brightest less darkest channel sum over the pixels of area outside inner.
    int ringSpread(const Box& area, const Box& inner) const;
    double meanBrightness(const Box& area) const;

    // Pixels of the area whose channel sums differ by more than threshold.
    int countDiff(const Picture& other, const Box& area, int threshold = 24) const;
    int countDiff(const Picture& other, int threshold = 24) const;

    // The column of the longest vertical brightness step in the area (a wall corner seen
    // upright), or -1 when no column carries a step in at least half the sampled rows.
    double verticalEdgeColumn(const Box& area, int minStep = 45) const;

    Box whole() const { return {0, 0, width_ - 1, height_ - 1}; }

    // Writes a binary PPM; returns the path, or an empty string if it could not.
    std::string save(const std::string& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> rgb_;
};

// The game's top-level window on a harness X server, driven with XTest.
class GameWindow {
public:
    explicit GameWindow(XServer& server);

    // Polls the server's top-level windows for the game's title until it is mapped.
    bool find(int timeoutMs);
    bool found() const { return window_ != 0; }
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

    // Grabs every 100 ms until check holds for a grab; that grab is left in last. With
    // ORBFALL_E2E_DUMP set to a directory, every last grab is also saved there.
    bool waitForPicture(const std::function<bool(const Picture&)>& check, int timeoutMs,
                        Picture& last);

private:
    Display* display_;
    XID window_ = 0;
    std::string error_;
};

// The title screen: its name line lit where it belongs and the margins black.
bool showsTitleScreen(const Picture& picture);

// A game frame: the arena walls fill the view, so the margins are not black.
bool showsGameFrame(const Picture& picture);

// True when the overlay element standing out in expected.grown(margin) covers exactly the
// expected box, give or take a pixel of multisampled edge. A target behind the element makes
// its surroundings uneven and the judgement unsafe: then false, with why saying so.
bool overlayAt(const Picture& picture, const Box& expected, int margin, std::string& why);

// Where overlay capitals land: the raster position's column and its row below the top edge.
// The letters rest on that row and are 11 rows high, 10 columns apart; the box assumes the
// first and the last letter reach the left and right edges of their 8-column cells.
Box overlayTextBox(int column, int row, int characters);

// One Xvfb, one game on it, its window found and focused: the usual start of a test.
struct Session {
    explicit Session(bool noopRenderer = false, std::vector<std::string> xvfbArgs = {});

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
