// Covers the in-game heads-up display as the running game shows it after P, and the return
// to the title screen on Q.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "harness.h"

namespace {

// Targets drift behind the overlay; within this time each element usually shows clear of them.
constexpr int kClearFrameMs = 15000;

struct Element {
    const char* what;
    e2e::Box box;
    int margin;  // keeps the neighbouring elements out of the judged area
};

// Raster columns and rows from the layout; the figures are double-height digits, 10 rows
// tall, 9 columns apart, resting on row 40.
const Element kHud[] = {
    {"SCORE", e2e::overlayTextBox(9, 21, 5), 6},
    {"TARGETS LEFT", e2e::overlayTextBox(452, 21, 12), 6},
    {"TIME", e2e::overlayTextBox(976, 21, 4), 6},
    {"FPS", e2e::overlayTextBox(988, 60, 3), 4},
    {"score 0, its cell starting at column 9", {9, 30, 16, 39}, 6},
    // "130" centred on 512: cells at 498, 507 and 516; the 1 leaves its cell's first two
    // columns empty.
    {"targets left 130, centred on column 512", {500, 30, 523, 39}, 6},
    // Two digits from 60 down, the last cell starting at column 1006.
    {"seconds left", {997, 30, 1013, 39}, 6},
};

// Where "HIGH SCORE" and its figure would be: nothing there before a game has scored.
const e2e::Box kHighScoreArea = {5, 45, 120, 85};

// Each element needs one frame in which it is clear of targets and where it belongs; the
// elements do not move, so different frames may confirm different elements.
class HudCheck {
public:
    bool allConfirmed(const e2e::Picture& picture) {
        bool all = true;
        for (size_t i = 0; i < std::size(kHud); ++i) {
            if (!confirmed_[i])
                confirmed_[i] = e2e::overlayAt(picture, kHud[i].box, kHud[i].margin, why_[i]);
            all = all && confirmed_[i];
        }
        if (!highScoreClear_) {
            const int spread = picture.ringSpread(kHighScoreArea, {0, 0, -1, -1});
            highScoreClear_ = spread <= 60;
            highScoreWhy_ =
                "something in the high-score place (spread " + std::to_string(spread) + ")";
        }
        return all && highScoreClear_;
    }

    std::string report() const {
        std::string text;
        for (size_t i = 0; i < std::size(kHud); ++i)
            if (!confirmed_[i]) text += std::string(kHud[i].what) + ": " + why_[i] + "\n";
        if (!highScoreClear_) text += highScoreWhy_ + "\n";
        return text;
    }

private:
    bool confirmed_[std::size(kHud)] = {};
    std::string why_[std::size(kHud)];
    bool highScoreClear_ = false;
    std::string highScoreWhy_;
};

TEST(InGameHud, LabelsAndFiguresThenQReturnsToTitle) {
    e2e::Session session;
    ASSERT_TRUE(session.ready()) << session.error;
    e2e::Picture frame;
    ASSERT_TRUE(session.startPlaying(frame)) << "no game frame after P";

    HudCheck hud;
    const auto confirm = [&](const e2e::Picture& p) { return hud.allConfirmed(p); };
    if (!session.window.waitForPicture(confirm, kClearFrameMs, frame)) {
        // A target parked in front of an element: a game started a second later has others.
        ASSERT_TRUE(session.endPlaying()) << "no title screen after Q";
        ASSERT_TRUE(session.startPlaying(frame)) << "no game frame after the second P";
        EXPECT_TRUE(session.window.waitForPicture(confirm, kClearFrameMs, frame)) << hud.report();
    }

    ASSERT_TRUE(session.endPlaying()) << "no title screen after Q";
    EXPECT_TRUE(session.game.running());
}

}  // namespace
