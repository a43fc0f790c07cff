// Covers the in-game heads-up display as the running game shows it after P, and the return
// to the title screen on Q; and its glyphs in full colour in the presented window, a hit's
// popup included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "harness.h"
#include "render/font.h"

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

namespace {

// Long enough for every element to show over an even wall and for a few aimed shots.
constexpr int kGlyphCheckMs = 60000;
constexpr int kRise = 30;         // channel sum by which a glyph pixel stands out of its wall
constexpr int kEvenWall = 60;     // channel-sum spread of the wall around an element
constexpr int kLitWall = 150;     // channel sum of a wall lit enough to show black on
constexpr int kWhiteLeast = 250;  // every channel of a white glyph pixel
constexpr int kBlackMost = 5;     // every channel of a black one
constexpr double kFocal = 823.5;  // pixels: 384 / tan(25 degrees), half the field of view
constexpr int kAimedPixels = 6;   // a blue target this near the centre is under the crosshair

enum class Ink { White, Black };

struct Pixel {
    int column, row;
};

// Bit b of bitmap row r (bottom row first) lands at column + b, baseRow - r rows from the top.
void addGlyph(std::vector<Pixel>& out, const unsigned char* rows, int height, int column,
              int baseRow) {
    for (int r = 0; r < height; ++r)
        for (int b = 0; b < 8; ++b)
            if (rows[r] & (0x80 >> b)) out.push_back({column + b, baseRow - r});
}

struct Label {
    const char* text;
    int column, row;  // raster position: the letters rest on the row
};

struct Figure {
    const char* what;
    NumberAlign align;
    int rowOffset;
    Ink ink;
};

const Label kLabels[] = {
    {"SCORE", 9, 21}, {"TARGETS LEFT", 452, 21}, {"TIME", 976, 21}, {"FPS", 988, 60}};
const Figure kFigures[] = {
    {"score", Left, 0, Ink::White},         {"seconds left", Right, 0, Ink::White},
    {"frame rate", Right, 35, Ink::White},  {"targets left", Center, 0, Ink::White},
    {"hit popup", Center, 264, Ink::Black},
};
constexpr int kMaxDigits = 5;

// Left edges of an n-digit figure's cells, first digit first, as drawNumber places them.
std::vector<int> figureCells(NumberAlign align, int n) {
    const int width = 9 * (n - 1);
    const int last = align == Left    ? 9 + width
                     : align == Right ? 1006
                                      : static_cast<int>(std::floor(512 + (width - 9) / 2.0));
    std::vector<int> cells;
    for (int i = 0; i < n; ++i) cells.push_back(last - 9 * (n - 1 - i));
    return cells;
}

e2e::Box figureArea(const Figure& f) {
    const int line = 40 + f.rowOffset;
    const std::vector<int> cells = figureCells(f.align, kMaxDigits);
    return {cells.front() - 3, line - 13, cells.back() + 10, line + 2};
}

e2e::Box labelArea(const Label& l) {
    return {l.column - 3, l.row - 13, l.column + 10 * static_cast<int>(std::strlen(l.text)) + 1,
            l.row + 3};
}

// True when exactly the given pixels of the area stand out of an even wall in the ink's
// direction: the element is seen whole, nothing of the scene in the way of judging it.
bool seenAlone(const e2e::Picture& picture, const e2e::Box& area, const std::vector<Pixel>& pixels,
               Ink ink) {
    const int wall = picture.medianBrightness(area);
    if (ink == Ink::Black && wall < kLitWall) return false;
    std::vector<bool> glyph(static_cast<size_t>(area.width() * area.height()));
    for (const Pixel& p : pixels) {
        if (p.column < area.left || p.column > area.right || p.row < area.top ||
            p.row > area.bottom)
            return false;
        glyph[static_cast<size_t>((p.row - area.top) * area.width() + p.column - area.left)] = true;
    }
    int low = 3 * 255, high = 0;
    for (int row = area.top; row <= area.bottom; ++row) {
        for (int col = area.left; col <= area.right; ++col) {
            const int sum = picture.at(col, row).sum();
            const bool out = ink == Ink::White ? sum > wall + kRise : sum < wall - kRise;
            const bool in =
                glyph[static_cast<size_t>((row - area.top) * area.width() + col - area.left)];
            if (out != in) return false;
            if (!in) low = std::min(low, sum), high = std::max(high, sum);
        }
    }
    return high - low <= kEvenWall;
}

// The label's pixels where the grab shows it alone, give or take a pixel of raster rounding.
bool readLabel(const e2e::Picture& picture, const Label& l, std::vector<Pixel>& pixels) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            pixels.clear();
            for (int i = 0; l.text[i]; ++i) {
                const unsigned char* rows =
                    l.text[i] == ' ' ? g_spaceGlyph : g_letterGlyphs[l.text[i] - 'A'];
                addGlyph(pixels, rows, 13, l.column + dx + 10 * i, l.row + 1 + dy);
            }
            if (seenAlone(picture, labelArea(l), pixels, Ink::White)) return true;
        }
    }
    return false;
}

// The figure's digits and pixels: each cell's standing-out pixels must be one digit's bitmap.
bool readFigure(const e2e::Picture& picture, const Figure& f, std::vector<Pixel>& pixels,
                std::string& digits) {
    const e2e::Box area = figureArea(f);
    const int wall = picture.medianBrightness(area);
    const auto out = [&](int col, int row) {
        const int sum = picture.at(col, row).sum();
        return f.ink == Ink::White ? sum > wall + kRise : sum < wall - kRise;
    };
    for (int n = 1; n <= kMaxDigits; ++n) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int baseRow = 40 + f.rowOffset - 1 + dy;
                pixels.clear();
                digits.clear();
                for (int cell : figureCells(f.align, n)) {
                    int found = -1;
                    for (int d = 0; d < 10 && found < 0; ++d) {
                        bool same = true;
                        for (int r = 0; r < 10 && same; ++r)
                            for (int b = 0; b < 8 && same; ++b)
                                same = out(cell + dx + b, baseRow - r) ==
                                       bool(g_digitGlyphs[d][r] & (0x80 >> b));
                        if (same) found = d;
                    }
                    if (found < 0) break;
                    digits += static_cast<char>('0' + found);
                    addGlyph(pixels, g_digitGlyphs[found], 10, cell + dx, baseRow);
                }
                if (static_cast<int>(digits.size()) == n && seenAlone(picture, area, pixels, f.ink))
                    return true;
            }
        }
    }
    return false;
}

// Judges every element each grab shows alone; keeps which were seen and what was wrong.
class GlyphColours {
public:
    void judge(const e2e::Picture& picture) {
        ++grabs_;
        std::vector<Pixel> pixels;
        for (size_t i = 0; i < std::size(kLabels); ++i) {
            if (readLabel(picture, kLabels[i], pixels))
                check(i, picture, kLabels[i].text, pixels, Ink::White);
        }
        std::string digits;
        for (size_t i = 0; i < std::size(kFigures); ++i) {
            if (readFigure(picture, kFigures[i], pixels, digits))
                check(std::size(kLabels) + i, picture, std::string(kFigures[i].what) + " " + digits,
                      pixels, kFigures[i].ink);
        }
    }

    bool popupSeen() const { return seen_[kElements - 1] > 0; }
    bool allSeen() const {
        return std::all_of(std::begin(seen_), std::end(seen_), [](int n) { return n > 0; });
    }
    // Each element as last read, with the number of grabs that showed it.
    std::string seen() const {
        std::string text;
        for (size_t i = 0; i < kElements; ++i)
            text += last_[i] + " (" + std::to_string(seen_[i]) + "); ";
        return text;
    }
    std::string unseen() const {
        std::string text;
        for (size_t i = 0; i < kElements; ++i)
            if (seen_[i] == 0) text += name(i) + "; ";
        return text;
    }
    // Per element with a fault: in how many of the grabs that showed it, and the first one.
    std::vector<std::string> faults() const {
        std::vector<std::string> text;
        for (size_t i = 0; i < kElements; ++i) {
            if (wrong_[i] == 0) continue;
            text.push_back(name(i) + ": not in full colour in " + std::to_string(wrong_[i]) +
                           " of the " + std::to_string(seen_[i]) + " grabs that showed it; " +
                           first_[i]);
        }
        return text;
    }

private:
    static constexpr size_t kElements = std::size(kLabels) + std::size(kFigures);

    static std::string name(size_t i) {
        return i < std::size(kLabels) ? kLabels[i].text : kFigures[i - std::size(kLabels)].what;
    }

    void check(size_t element, const e2e::Picture& picture, const std::string& what,
               const std::vector<Pixel>& pixels, Ink ink) {
        ++seen_[element];
        last_[element] = what;
        int wrong = 0;
        const Pixel* first = nullptr;
        for (const Pixel& p : pixels) {
            const e2e::Rgb c = picture.at(p.column, p.row);
            const bool full = ink == Ink::White ? std::min({c.r, c.g, c.b}) >= kWhiteLeast
                                                : std::max({c.r, c.g, c.b}) <= kBlackMost;
            if (full) continue;
            if (!first) first = &p;
            ++wrong;
        }
        if (!first || wrong_[element]++ > 0) return;
        const e2e::Rgb c = picture.at(first->column, first->row);
        first_[element] = "grab " + std::to_string(grabs_) + ", " + what + ": " +
                          std::to_string(wrong) + " of " + std::to_string(pixels.size()) +
                          " glyph pixels not " + (ink == Ink::White ? "white" : "black") +
                          ", e.g. (" + std::to_string(first->column) + ", " +
                          std::to_string(first->row) + ") is (" + std::to_string(c.r) + ", " +
                          std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
    }

    int grabs_ = 0;
    int seen_[kElements] = {};   // grabs that showed the element over an even wall
    int wrong_[kElements] = {};  // of those, grabs with a glyph pixel not in full colour
    std::string first_[kElements];
    std::string last_[kElements];
};

// A blue target's lit or shaded side: the walls are grey-green, the other targets white,
// grey or green.
bool isBlue(const e2e::Rgb& c) {
    return c.b >= 120 && c.r <= 60 && c.g <= 60;
}

// Offset from the centre (right and down positive) of the blue target nearest the centre: the
// middle of the blue pixels within 40 of the nearest one, every second pixel of every second row.
bool blueTarget(const e2e::Picture& picture, int& dx, int& dy) {
    const auto blue = [&](int col, int row) { return isBlue(picture.at(col, row)); };
    constexpr int cx = e2e::kWindowWidth / 2, cy = e2e::kWindowHeight / 2, reach = 40;
    double nearest = 1e9;
    for (int row = 0; row < e2e::kWindowHeight; row += 2)
        for (int col = 0; col < e2e::kWindowWidth; col += 2)
            if (blue(col, row) && std::hypot(col - cx, row - cy) < nearest)
                nearest = std::hypot(col - cx, row - cy), dx = col - cx, dy = row - cy;
    if (nearest == 1e9) return false;
    long sumX = 0, sumY = 0, count = 0;
    for (int row = cy + dy - reach; row <= cy + dy + reach; row += 2)
        for (int col = cx + dx - reach; col <= cx + dx + reach; col += 2)
            if (blue(col, row)) sumX += col - cx, sumY += row - cy, ++count;
    dx = static_cast<int>(sumX / count), dy = static_cast<int>(sumY / count);
    return true;
}

// The crosshair's open centre lies on blue.
bool blueUnderCrosshair(const e2e::Picture& picture) {
    for (int row = -2; row <= 2; ++row)
        for (int col = -2; col <= 2; ++col)
            if (!isBlue(picture.at(e2e::kWindowWidth / 2 + col, e2e::kWindowHeight / 2 + row)))
                return false;
    return true;
}

// Pointer pixels that turn the view by the angle of a pixel offset, at 0.25 degrees each.
int turnFor(int offset) {
    return static_cast<int>(std::lround(std::atan2(offset, kFocal) * 720 / 3.141592653589793));
}

}  // namespace

// The presented window, as an X grab reads it: a multisampled window on Mesa must show the
// overlay solid, not the quarter of its colour that a bitmap keeps when the scene behind it
// replaces the samples it left without depth. Each element is judged in the grabs that show it
// over an even wall; the player shoots blue targets until a hit's popup has been judged.
TEST(InGameHud, GlyphPixelsShowTheirFullColour) {
    // The game's window keeps its samples here, on the CPU rasterizer, as a GPU's would.
    const std::vector<std::string> multisampled = {"ORBFALL_SAMPLES_ON_CPU=1"};
    e2e::Session session(false, {}, multisampled);
    ASSERT_TRUE(session.ready()) << session.error;
    e2e::Picture frame;
    ASSERT_TRUE(session.startPlaying(frame)) << "no game frame after P";

    GlyphColours glyphs;
    int shots = 0, wait = 0;
    const auto step = [&](const e2e::Picture& picture) {
        glyphs.judge(picture);
        if (glyphs.allSeen()) return true;
        if (glyphs.popupSeen() || --wait > 0) return false;
        int dx = 0, dy = 0;
        wait = 3;  // a grab or two may still show the frame from before the turn
        if (!blueTarget(picture, dx, dy)) {
            session.window.moveBy(180, 0);  // look 45 degrees further round
        } else if (!blueUnderCrosshair(picture) &&
                   (std::abs(dx) > kAimedPixels || std::abs(dy) > kAimedPixels)) {
            session.window.moveBy(turnFor(dx), turnFor(dy));
        } else {
            wait = 20;  // the popup shows for 2 s
            session.window.click(1);
            ++shots;
        }
        return false;
    };
    const bool all = session.window.waitForPicture(step, kGlyphCheckMs, frame);

    std::printf("judged: %s%d shots\n", glyphs.seen().c_str(), shots);
    for (const std::string& fault : glyphs.faults()) ADD_FAILURE() << fault;
    EXPECT_TRUE(all) << "never seen over an even wall: " << glyphs.unseen() << "(" << shots
                     << " shots)";
    ASSERT_TRUE(session.endPlaying()) << "no title screen after Q";
    // Last: the probe's window takes the focus from the game's.
    std::printf("window: %s", e2e::windowFormat(session.server, e2e::gameUnderTest(),
                                                multisampled).c_str());
}
