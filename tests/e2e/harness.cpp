// End-to-end harness: Xvfb and game processes, XTest input and XGetImage grabs.
#include "harness.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <thread>
#include <utility>

extern char** environ;

namespace e2e {

namespace {

constexpr int kXvfbStartMs = 15000;
constexpr int kXvfbStopMs = 3000;
constexpr int kStatusLost = -1;

using Clock = std::chrono::steady_clock;

int msSince(Clock::time_point start) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Xlib's default handler ends the process; a grab of a vanished window must not.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Waits for a child without blocking past the deadline; true once it has been reaped.
bool reapWithin(pid_t pid, int timeoutMs, int& status) {
    const auto start = Clock::now();
    for (;;) {
        const pid_t got = waitpid(pid, &status, WNOHANG);
        if (got == pid) return true;
        if (got < 0 && errno != EINTR) {  // reaped elsewhere: its status is lost
            status = kStatusLost;
            return true;
        }
        if (msSince(start) >= timeoutMs) return false;
        sleepMs(5);
    }
}

void killAndReap(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

// An unnamed file for a child's output: read back after it ends, never full like a pipe.
int captureFile() {
    char path[] = "/tmp/orbfall-e2e-XXXXXX";
    const int fd = mkostemp(path, O_CLOEXEC);
    if (fd >= 0) unlink(path);
    return fd;
}

std::string readAll(int fd) {
    std::string text;
    if (fd < 0) return text;
    char buffer[4096];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = pread(fd, buffer, sizeof buffer, offset);
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
    return text;
}

bool isWindowsProgram(const std::string& path) {
    const std::string suffix = ".exe";
    return path.size() > suffix.size() &&
           path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string keyOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// Puts NAME=value into env, in place of an entry with the same name; preload lists are
// joined, the earlier libraries first.
void setEntry(std::vector<std::string>& env, const std::string& entry) {
    for (std::string& item : env) {
        if (keyOf(item) == keyOf(entry)) {
            if (keyOf(entry) == "LD_PRELOAD")
                item += ":" + entry.substr(entry.find('=') + 1);
            else
                item = entry;
            return;
        }
    }
    env.push_back(entry);
}

// The parent's environment without the variables that choose a display or a driver, then
// the game's own entries. ownBuild: the game is the one built beside the tests.
std::vector<std::string> childEnvironment(const Game::Options& options,
                                          const std::vector<std::string>& extra, bool ownBuild) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string key = keyOf(*entry);
        if (key == "DISPLAY" || key == "WAYLAND_DISPLAY" || key == "GALLIUM_NOOP") continue;
        env.push_back(*entry);
    }
#ifdef ORBFALL_GAME_PRELOAD
    // A sanitizer build: its runtime must come first, and the GL driver stays loaded after
    // glfwTerminate, so that the leak report at exit can still name the driver's allocations.
    if (ownBuild) {
        const char* preload = std::getenv("LD_PRELOAD");
        setEntry(env, std::string("LD_PRELOAD=" ORBFALL_GAME_PRELOAD) +
                          (preload && *preload ? ":" + std::string(preload) : ""));
        if (!std::getenv("ASAN_OPTIONS")) env.push_back("ASAN_OPTIONS=" ORBFALL_ASAN_OPTIONS);
        if (!std::getenv("LSAN_OPTIONS")) env.push_back("LSAN_OPTIONS=" ORBFALL_LSAN_OPTIONS);
        if (!std::getenv("UBSAN_OPTIONS")) env.push_back("UBSAN_OPTIONS=" ORBFALL_UBSAN_OPTIONS);
    }
#else
    (void)ownBuild;
#endif
    if (!options.display.empty()) env.push_back("DISPLAY=" + options.display);
    if (options.noopRenderer) env.push_back("GALLIUM_NOOP=1");
    for (const std::string& entry : extra) setEntry(env, entry);
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings) result.push_back(&s[0]);
    result.push_back(nullptr);
    return result;
}

// The signal the GL driver alone dies of when it tears a context down, in an environment;
// 0 when it survives.
int teardownSignal(std::vector<std::string> env) {
    std::vector<char*> envp = pointers(env);
    std::vector<std::string> args = {ORBFALL_GL_TEARDOWN_PROBE};
    std::vector<char*> argv = pointers(args);
    const pid_t probe = fork();
    if (probe == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    if (probe < 0) return 0;
    int status = 0;
    if (!reapWithin(probe, kXvfbStartMs, status)) {
        killAndReap(probe);
        return 0;
    }
    return status != kStatusLost && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

std::string windowName(Display* display, Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data && type == utf8 && format == 8) {
        name.assign(reinterpret_cast<char*>(data), count);
    }
    if (data) XFree(data);
    if (!name.empty()) return name;
    char* plain = nullptr;
    if (XFetchName(display, window, &plain) && plain) {
        name = plain;
        XFree(plain);
    }
    return name;
}

int channelShift(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int channelValue(unsigned long pixel, unsigned long mask, int shift) {
    const unsigned long max = mask >> shift;
    if (max == 0) return 0;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

std::string builtGame() {
    return ORBFALL_GAME_PATH;
}

std::string gameUnderTest() {
    const char* other = std::getenv("ORBFALL_E2E_GAME");
    return other && *other ? other : builtGame();
}

bool windowsBuild() {
    return isWindowsProgram(gameUnderTest());
}

std::string besideGame(const std::string& game, const std::string& name) {
    return game.substr(0, game.rfind('/') + 1) + name + (isWindowsProgram(game) ? ".exe" : "");
}

bool waitUntil(const std::function<bool()>& check, int timeoutMs) {
    const auto start = Clock::now();
    for (;;) {
        if (check()) return true;
        if (msSince(start) >= timeoutMs) return false;
        sleepMs(kPollMs);
    }
}

// ---- XServer ----

XServer::XServer(std::vector<std::string> extraArgs) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return;
    }
    std::vector<std::string> args = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                                     "-screen",   "0",          "1280x1024x24",
                                     "-nolisten", "tcp"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv = pointers(args);

    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test that dies takes its server along
        fcntl(fds[1], F_SETFD, 0);         // the one descriptor Xvfb must inherit
        const int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, 0);
        dup2(quiet, 1);
        dup2(quiet, 2);
        execvp("Xvfb", argv.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        error_ = "fork failed";
        return;
    }

    // Xvfb writes its display number once it accepts connections.
    std::string number;
    const auto start = Clock::now();
    while (number.find('\n') == std::string::npos) {
        const int left = kXvfbStartMs - msSince(start);
        if (left <= 0) break;
        pollfd p = {fds[0], POLLIN, 0};
        if (poll(&p, 1, left) <= 0) continue;
        char buffer[32];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;  // Xvfb ended without a number
        number.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        error_ =
            "Xvfb did not report a display number within " + std::to_string(kXvfbStartMs) + " ms";
        return;
    }
    name_ = ":" + number.substr(0, number.find('\n'));

    XSetErrorHandler(ignoreXError);
    display_ = XOpenDisplay(name_.c_str());
    if (!display_) {
        error_ = "cannot connect to " + name_;
        return;
    }
    int event, errorBase, major, minor;
    if (!XTestQueryExtension(display_, &event, &errorBase, &major, &minor)) {
        error_ = "no XTest on " + name_;
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

XServer::~XServer() {
    if (display_) XCloseDisplay(display_);
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    if (!reapWithin(pid_, kXvfbStopMs, status)) killAndReap(pid_);
}

// ---- Game ----

Game::Game(const Options& options, const std::vector<std::string>& environment)
    : options_(options) {
    outFd_ = captureFile();
    errFd_ = captureFile();
    if (outFd_ < 0 || errFd_ < 0) return;
    const std::string program = options.program.empty() ? gameUnderTest() : options.program;
    std::vector<std::string> env = childEnvironment(options, environment, program == builtGame());
    std::vector<char*> envp = pointers(env);
    std::vector<std::string> args = {program};
    if (isWindowsProgram(program)) args.insert(args.begin(), ORBFALL_WINE_GAME);
    std::vector<char*> argv = pointers(args);

    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test that dies takes its game along
        const int quiet = open("/dev/null", O_RDONLY);
        dup2(quiet, 0);
        dup2(outFd_, 1);
        dup2(errFd_, 2);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    if (pid > 0) pid_ = pid;
}

Game::~Game() {
    if (pid_ > 0) killAndReap(pid_);
    if (outFd_ >= 0) close(outFd_);
    if (errFd_ >= 0) close(errFd_);
}

void Game::reap(int status) {
    pid_ = -1;
    if (status == kStatusLost) return;
    if (WIFEXITED(status)) exitStatus_ = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) termSignal_ = WTERMSIG(status);
}

bool Game::running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reap(status);
        return false;
    }
    return true;
}

bool Game::waitExit(int timeoutMs) {
    if (pid_ <= 0) return exitStatus_ >= 0 || termSignal_ != 0;
    int status = 0;
    if (reapWithin(pid_, timeoutMs, status)) {
        reap(status);
        return true;
    }
    killAndReap(pid_);
    pid_ = -1;
    termSignal_ = SIGKILL;
    return false;
}

bool Game::quitCleanly() const {
    if (exitStatus_ == 0) return true;
    if (!options_.noopRenderer || termSignal_ == 0) return false;
    return teardownSignal(childEnvironment(options_, {}, false)) == termSignal_;
}

std::string Game::standardOutput() const {
    return readAll(outFd_);
}
std::string Game::standardError() const {
    return readAll(errFd_);
}

// ---- GameWindow ----

GameWindow::GameWindow(XServer& server, std::string title)
    : display_(server.display()), title_(std::move(title)) {}

void GameWindow::setOrigin(int column, int row) {
    originColumn_ = column;
    originRow_ = row;
}

bool GameWindow::find(int timeoutMs) {
    if (!display_) {
        error_ = "no X server";
        return false;
    }
    const bool seen = waitUntil(
        [&] {
            Window root = 0, parent = 0, *children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children,
                            &count))
                return false;
            for (unsigned int i = 0; i < count && !window_; ++i) {
                XWindowAttributes attributes;
                if (!XGetWindowAttributes(display_, children[i], &attributes)) continue;
                if (attributes.map_state != IsViewable) continue;
                if (windowName(display_, children[i]) == title_) window_ = children[i];
            }
            if (children) XFree(children);
            return window_ != 0;
        },
        timeoutMs);
    if (!seen) {
        error_ = "no mapped window titled \"" + title_ + "\" within " +
                 std::to_string(timeoutMs) + " ms";
        return false;
    }
    if (title_ != kWindowTitle) return true;
    XWindowAttributes attributes;
    XGetWindowAttributes(display_, window_, &attributes);
    if (attributes.width != kWindowWidth || attributes.height != kWindowHeight) {
        error_ = "window is " + std::to_string(attributes.width) + " x " +
                 std::to_string(attributes.height);
        return false;
    }
    return true;
}

bool GameWindow::gone() {
    XWindowAttributes attributes;
    return window_ && (!XGetWindowAttributes(display_, window_, &attributes) ||
                       attributes.map_state != IsViewable);
}

bool GameWindow::focus(int timeoutMs) {
    if (!window_) return false;
    // Park the pointer away from the centre first, so its return proves the game saw the focus.
    moveTo(40, 40);
    XSetInputFocus(display_, window_, RevertToPointerRoot, CurrentTime);
    XSync(display_, False);
    if (!waitPointerCentred(timeoutMs)) {
        error_ = "the game did not capture the pointer within " + std::to_string(timeoutMs) +
                 " ms of getting the focus";
        return false;
    }
    return true;
}

void GameWindow::pressKey(const char* keysym) {
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysym));
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XSync(display_, False);
}

void GameWindow::releaseKey(const char* keysym) {
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysym));
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
}

void GameWindow::tapKey(const char* keysym) {
    pressKey(keysym);
    sleepMs(30);
    releaseKey(keysym);
}

void GameWindow::moveBy(int dx, int dy) {
    XTestFakeRelativeMotionEvent(display_, dx, dy, CurrentTime);
    XSync(display_, False);
}

void GameWindow::moveTo(int column, int row) {
    int x = column, y = row;
    Window child = 0;
    XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), originColumn_ + column,
                          originRow_ + row, &x, &y, &child);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XSync(display_, False);
}

void GameWindow::pressButton(int button) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    XSync(display_, False);
}

void GameWindow::releaseButton(int button) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display_, False);
}

void GameWindow::click(int button) {
    pressButton(button);
    sleepMs(30);
    releaseButton(button);
}

bool GameWindow::pointer(int& column, int& row) {
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0;
    unsigned int mask = 0;
    return XQueryPointer(display_, window_, &root, &child, &rootX, &rootY, &column, &row, &mask) ==
           True;
}

bool GameWindow::waitPointerCentred(int timeoutMs) {
    return waitUntil(
        [&] {
            int column = -1, row = -1;
            return pointer(column, row) && column == kWindowWidth / 2 && row == kWindowHeight / 2;
        },
        timeoutMs);
}

void GameWindow::requestClose() {
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window_;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window_, False, NoEventMask, &event);
    XSync(display_, False);
}

Picture GameWindow::grab() {
    return grab({0, 0, kWindowWidth - 1, kWindowHeight - 1});
}

Picture GameWindow::grab(const Box& region) {
    if (!window_) return {};
    XImage* image =
        XGetImage(display_, window_, originColumn_ + region.left, originRow_ + region.top,
                  static_cast<unsigned>(region.width()), static_cast<unsigned>(region.height()),
                  AllPlanes, ZPixmap);
    if (!image) return {};
    const int rs = channelShift(image->red_mask), gs = channelShift(image->green_mask),
              bs = channelShift(image->blue_mask);
    std::vector<unsigned char> rgb(static_cast<size_t>(region.width()) * region.height() * 3);
    size_t i = 0;
    for (int row = 0; row < region.height(); ++row) {
        for (int col = 0; col < region.width(); ++col) {
            const unsigned long pixel = XGetPixel(image, col, row);
            rgb[i++] = static_cast<unsigned char>(channelValue(pixel, image->red_mask, rs));
            rgb[i++] = static_cast<unsigned char>(channelValue(pixel, image->green_mask, gs));
            rgb[i++] = static_cast<unsigned char>(channelValue(pixel, image->blue_mask, bs));
        }
    }
    XDestroyImage(image);
    return Picture(region, std::move(rgb));
}

bool GameWindow::waitForPicture(const std::function<bool(const Picture&)>& check, int timeoutMs,
                                Picture& last) {
    return waitForPicture(check, timeoutMs, last, {0, 0, kWindowWidth - 1, kWindowHeight - 1},
                          kPollMs);
}

bool GameWindow::waitForPicture(const std::function<bool(const Picture&)>& check, int timeoutMs,
                                Picture& last, const Box& region, int intervalMs) {
    const auto start = Clock::now();
    bool held = false;
    for (;;) {
        last = grab(region);
        held = !last.empty() && check(last);
        if (held || msSince(start) >= timeoutMs) break;
        if (intervalMs > 0) sleepMs(intervalMs);
    }
    if (const char* dir = std::getenv("ORBFALL_E2E_DUMP")) {
        static int serial = 0;
        last.save(std::string(dir) + "/grab-" + std::to_string(getpid()) + "-" +
                  std::to_string(++serial) + ".ppm");
    }
    return held;
}

// ---- SwapLog ----

const char* noopRendererUnavailable(const std::string& display) {
    if (!windowsBuild()) return nullptr;
    const Game::Options options{display, true};
    return teardownSignal(childEnvironment(options, {}, false)) != 0
               ? "GLFW's Windows backend makes and drops a GL context as it starts, and this "
                 "no-op GL driver dies when a context is dropped"
               : nullptr;
}

const char* swapLogUnavailable() {
    return windowsBuild() ? "orbfall.exe links GLFW into itself and runs under Wine, where the "
                            "swap log's preload cannot see its buffer swaps"
                          : nullptr;
}

SwapLog::SwapLog()
    : path_("/tmp/orbfall-swaps-" + std::to_string(getpid()) + "-" +
            std::to_string(Clock::now().time_since_epoch().count()) + ".txt") {}

SwapLog::~SwapLog() {
    std::remove(path_.c_str());
}

std::vector<std::string> SwapLog::environment() const {
    return {"LD_PRELOAD=" ORBFALL_SWAP_LOG_LIBRARY, "ORBFALL_SWAP_LOG=" + path_};
}

std::vector<Swap> SwapLog::read() const {
    std::vector<Swap> swaps;
    std::ifstream in(path_);
    long long ns = 0, heldBytes = 0;
    while (in >> ns >> heldBytes) swaps.push_back({ns / 1e6, heldBytes});
    return swaps;
}

double monotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// ---- window_probe ----

std::string windowFormat(const XServer& server, const std::string& game,
                         const std::vector<std::string>& environment) {
    constexpr int kProbeMs = 20000;
    Game probe({server.name(), false, besideGame(game, "window_probe")}, environment);
    // Its line is what counts: a sanitizer build's leak report may still change its status.
    if (!probe.waitExit(kProbeMs)) return "";
    std::string line = probe.standardOutput();
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
        line.erase(line.size() - 2, 1);  // a Windows program's text lines end in \r\n
    return line;
}

// ---- Session ----

namespace {

constexpr int kWindowAppearMs = 20000;
constexpr int kFocusMs = 10000;

Game::Options sessionOptions(const XServer& server, bool noopRenderer) {
    Game::Options options;
    options.display = server.ok() ? server.name() : ":nowhere";
    options.noopRenderer = noopRenderer;
    return options;
}

}  // namespace

Session::Session(bool noopRenderer, std::vector<std::string> xvfbArgs,
                 const std::vector<std::string>& environment)
    : server(std::move(xvfbArgs)),
      game(sessionOptions(server, noopRenderer), environment),
      window(server) {
    if (!server.ok()) {
        error = server.error();
    } else if (!game.started()) {
        error = "cannot start " + gameUnderTest();
    } else if (!window.find(kWindowAppearMs)) {
        error = window.error();
        if (!game.running())
            error += " (the game ended with status " + std::to_string(game.exitStatus()) +
                     ", stderr: " + game.standardError() + ")";
    } else if (!window.focus(kFocusMs)) {
        error = window.error();
    }
}

bool Session::startPlaying(Picture& frame, int timeoutMs) {
    window.tapKey("p");
    return window.waitForPicture(showsGameFrame, timeoutMs, frame);
}

bool Session::endPlaying(int timeoutMs) {
    window.tapKey("q");
    Picture last;
    return window.waitForPicture(showsTitleScreen, timeoutMs, last);
}

}  // namespace e2e
