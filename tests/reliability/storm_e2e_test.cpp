// Covers the game under a storm of random real input: every key but Escape, presses and
// releases in any order, wild pointer motion, all buttons and the wheel, across many games.
// Afterwards it must still answer: P shows a game frame, Q the title screen, and Escape ends
// it with status 0 and nothing printed (no sanitizer report in a sanitizer build).
//
// ORBFALL_STORM=full runs the long storm (tools/storm); ORBFALL_STORM_SEED replays a seed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"

// Last: Xlib's macros (None, Bool, Status) would otherwise break the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kExitMs = 60000;  // a sanitizer build checks for leaks on the way out
constexpr int kAnswerMs = 20000;
constexpr int kTimedGameMs = 62000;     // a game lasts 61 s
constexpr int kMaxMotion = 10000;       // pixels per motion event, either way
constexpr int kKeepPlayingEvery = 100;  // events; P is ignored during a game
constexpr std::chrono::milliseconds kAfterStorm{20};

// Every key a player might hit, Escape excepted; P and Q are among them.
const char* const kKeys[] = {
    "a",         "b",          "c",           "d",           "e",           "f",
    "g",         "h",          "i",           "j",           "k",           "l",
    "m",         "n",          "o",           "p",           "q",           "r",
    "s",         "t",          "u",           "v",           "w",           "x",
    "y",         "z",          "0",           "1",           "2",           "3",
    "4",         "5",          "6",           "7",           "8",           "9",
    "Return",    "Tab",        "space",       "BackSpace",   "Delete",      "Insert",
    "Home",      "End",        "Prior",       "Next",        "Left",        "Right",
    "Up",        "Down",       "minus",       "equal",       "bracketleft", "bracketright",
    "semicolon", "apostrophe", "grave",       "backslash",   "comma",       "period",
    "slash",     "Shift_L",    "Shift_R",     "Control_L",   "Control_R",   "Alt_L",
    "Alt_R",     "Super_L",    "Menu",        "Caps_Lock",   "Num_Lock",    "Scroll_Lock",
    "Pause",     "Print",      "F1",          "F2",          "F3",          "F4",
    "F5",        "F6",         "F7",          "F8",          "F9",          "F10",
    "F11",       "F12",        "KP_0",        "KP_1",        "KP_2",        "KP_3",
    "KP_4",      "KP_5",       "KP_6",        "KP_7",        "KP_8",        "KP_9",
    "KP_Enter",  "KP_Add",     "KP_Subtract", "KP_Multiply", "KP_Divide",   "KP_Decimal"};

struct StormSize {
    int events;           // events of the storm proper, the two long games' not counted
    int games;            // games started and ended on purpose; random P and Q add more
    int eventsPerSecond;  // a game on the no-op driver ticks 58 times a second
    int firingGameMs;     // one game of heavy fire, for the weapons to unlock; 0 for none
    bool timedGame;       // one game left to run out its 61 s, without Q or fire
};

const StormSize kShortStorm = {8000, 10, 2000, 8000, false};
const StormSize kFullStorm = {40000, 40, 2000, 20000, true};
const StormSize kDrawnStorm = {600, 3, 600, 0, false};  // under the real, slow renderer

unsigned stormSeed() {
    if (const char* seed = std::getenv("ORBFALL_STORM_SEED"))
        return static_cast<unsigned>(std::strtoul(seed, nullptr, 10));
    return std::random_device{}();
}

// Sends the events straight through XTest and keeps count of what it did.
class Storm {
public:
    Storm(Display* display, unsigned seed) : display_(display), random_(seed) {
        for (const char* name : kKeys) {
            // Under Windows, Alt+F4 asks the window to close, and the game rightly ends.
            if (e2e::windowsBuild() && std::string(name) == "F4") continue;
            const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(name));
            if (code != 0) keys_.push_back(code);
        }
        p_ = XKeysymToKeycode(display, XStringToKeysym("p"));
        q_ = XKeysymToKeycode(display, XStringToKeysym("q"));
    }

    // The storm proper with a game started on purpose every size.events / size.games events;
    // the firing game a third of the way in, the timed game at two thirds.
    void run(const StormSize& size, e2e::Game& game) {
        startGame();
        const int gameLength = size.events / size.games;
        auto start = Clock::now();
        int paced = 0;
        for (int n = 1; n <= size.events && game.running(); ++n) {
            randomEvent(Mode::Free);
            if (n % kKeepPlayingEvery == 0) startGame();  // a game may run out of targets
            if (n % gameLength == 0) {
                endGameWithQ();
                startGame();
            }
            if (size.firingGameMs > 0 && n == size.events / 3) {
                runGame(Mode::Firing, size.firingGameMs, size.eventsPerSecond);
                endGameWithQ();
                startGame();
            }
            if (size.timedGame && n == 2 * size.events / 3) {
                runGame(Mode::Timed, kTimedGameMs, size.eventsPerSecond / 20);
                inGame_ = false;  // 62 s on: it has ended by itself
                startGame();
            }
            if (n == size.events / 3 || n == 2 * size.events / 3) {
                start = Clock::now();
                paced = 0;
            }
            pace(++paced, size.eventsPerSecond, start);
        }
        releaseAll();
    }

    int events() const { return events_; }

private:
    // Free: anything but Escape. Firing: mostly the left button and small aiming moves, no Q,
    // so that the score climbs to the shotgun and the machine gun, and E picks them. Timed:
    // no Q and no fire, so that the game keeps its targets and runs out its time.
    enum class Mode { Free, Firing, Timed };

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void key(KeyCode code, bool press) {
        XTestFakeKeyEvent(display_, code, press ? True : False, CurrentTime);
        ++events_;
        if (press) {
            keysDown_.insert(code);
        } else {
            keysDown_.erase(code);
        }
        // A Q press leaves the title screen showing, and the next P press starts a game.
        if (press && code == q_) inGame_ = false;
        if (press && code == p_) inGame_ = true;
    }

    void button(unsigned number, bool press) {
        XTestFakeButtonEvent(display_, number, press ? True : False, CurrentTime);
        ++events_;
        if (press) {
            buttonsDown_.insert(number);
        } else {
            buttonsDown_.erase(number);
        }
    }

    void motion(int reach) {
        const int dx = below(2 * reach + 1) - reach;
        const int dy = below(2 * reach + 1) - reach;
        XTestFakeRelativeMotionEvent(display_, dx, dy, CurrentTime);
        ++events_;
    }

    void startGame() {
        key(p_, true);
        key(p_, false);
    }

    void endGameWithQ() {
        key(q_, true);
        key(q_, false);
    }

    // P and Q come up a tenth as often as other keys, so that games last a while.
    KeyCode randomKey() {
        KeyCode code = 0;
        do {
            code = keys_[static_cast<size_t>(below(static_cast<int>(keys_.size())))];
        } while ((code == p_ || code == q_) && below(10) != 0);
        return code;
    }

    void randomEvent(Mode mode) {
        const int kind = below(100);
        const bool firing = mode == Mode::Firing;
        if (kind < (firing ? 15 : 35)) {
            const KeyCode code = randomKey();
            if (mode != Mode::Free && code == q_) return;
            key(code, below(2) == 0);
            // Keep the title screen brief: the no-op driver leaks with every title frame.
            if (code == q_ && !inGame_) startGame();
        } else if (kind < (firing ? 35 : 60)) {
            motion(firing || below(2) == 0 ? 20 : kMaxMotion);
        } else if (kind < 90) {
            const int which = below(10);  // left 6, middle 1, right (the zoom) 3 in 10
            const unsigned number = firing || which < 6 ? 1 : which < 7 ? 2 : 3;
            if (mode == Mode::Timed && number == 1) return;
            button(number, below(2) == 0);
        } else {
            const unsigned wheel = static_cast<unsigned>(4 + below(2));  // up or down
            button(wheel, true);
            button(wheel, false);
        }
    }

    // One game of the given mode for ms milliseconds, after a Q and a P.
    void runGame(Mode mode, int ms, int eventsPerSecond) {
        endGameWithQ();
        startGame();
        const auto start = Clock::now();
        for (int n = 1; Clock::now() - start < std::chrono::milliseconds(ms); ++n) {
            randomEvent(mode);
            pace(n, eventsPerSecond, start);
        }
    }

    void pace(int n, int eventsPerSecond, Clock::time_point start) {
        if (n % 16 != 0) return;
        XSync(display_, False);
        std::this_thread::sleep_until(start +
                                      std::chrono::microseconds(1000000LL * n / eventsPerSecond));
    }

    // Then a pause: the server stamps events by the millisecond, and GLFW drops a press of a
    // key stamped the same as that key's last press (its guard against input-method
    // duplicates), so a P or Q sent at once after the storm could vanish.
    void releaseAll() {
        for (KeyCode code : std::set<KeyCode>(keysDown_)) key(code, false);
        for (unsigned number : std::set<unsigned>(buttonsDown_)) button(number, false);
        XSync(display_, False);
        std::this_thread::sleep_for(kAfterStorm);
    }

    Display* display_;
    std::mt19937 random_;
    std::vector<KeyCode> keys_;
    KeyCode p_ = 0;
    KeyCode q_ = 0;
    std::set<KeyCode> keysDown_;
    std::set<unsigned> buttonsDown_;
    bool inGame_ = false;
    int events_ = 0;
};

void runStorm(const StormSize& size, e2e::Session& session) {
    const unsigned seed = stormSeed();
    std::printf("storm seed %u (ORBFALL_STORM_SEED=%u replays it)\n", seed, seed);
    Storm storm(session.server.display(), seed);
    const auto start = Clock::now();
    storm.run(size, session.game);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("storm: %d events in %.1f s\n", storm.events(), seconds);
    ::testing::Test::RecordProperty("seed", std::to_string(seed));
    ASSERT_TRUE(session.game.running()) << "the game ended during the storm (seed " << seed
                                        << "): " << session.game.standardError();
}

void expectCleanEscape(e2e::Session& session) {
    session.window.tapKey("Escape");
    ASSERT_TRUE(session.game.waitExit(kExitMs)) << "still running after Escape";
    EXPECT_TRUE(session.game.quitCleanly()) << "status " << session.game.exitStatus()
                                            << ", signal " << session.game.termSignal();
    EXPECT_EQ(session.game.standardOutput(), "");
    EXPECT_EQ(session.game.standardError(), "");
}

}  // namespace

TEST(InputStorm, GameSurvivesAndStillAnswers) {
    const char* mode = std::getenv("ORBFALL_STORM");
    const StormSize size = mode && std::string(mode) == "full" ? kFullStorm : kShortStorm;
    e2e::Session session(true);
    if (!session.ready()) {
        if (const char* why = e2e::noopRendererUnavailable(session.server.name()))
            GTEST_SKIP() << why << "; the next test storms it on the real driver";
    }
    ASSERT_TRUE(session.ready()) << session.error;
    runStorm(size, session);
    if (HasFatalFailure()) return;
    expectCleanEscape(session);  // the no-op driver draws nothing to look at
}

TEST(InputStorm, GameStillPlaysAfterAStorm) {
    e2e::Session session;
    ASSERT_TRUE(session.ready()) << session.error;
    runStorm(kDrawnStorm, session);
    if (HasFatalFailure()) return;

    // The storm may have left a game running: Q first, then a whole game from P to Q.
    e2e::Picture frame;
    EXPECT_TRUE(session.endPlaying(kAnswerMs)) << "no title screen after Q";
    EXPECT_TRUE(session.startPlaying(frame)) << "no game frame after P";
    EXPECT_TRUE(session.endPlaying(kAnswerMs)) << "no title screen after the last Q";
    expectCleanEscape(session);
}
