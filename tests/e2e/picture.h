// Grabs of the game window and what the end-to-end tests read from them.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace e2e {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

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

// One grab of the game window's contents, or of a part of it; pixels outside that part read
// as black.
class Picture {
public:
    Picture() = default;
    Picture(const Box& region, std::vector<unsigned char> rgb);

    bool empty() const { return rgb_.empty(); }
    Rgb at(int column, int row) const;

    // Bounding box of the pixels whose brightest channel exceeds threshold; false if none.
    bool litBox(const Box& area, Box& box, int threshold = 40) const;
    int litCount(const Box& area, int threshold = 40) const;

    // Pixels of the area that are neither pure black nor pure white.
    int impureCount(const Box& area) const;

    // Overlay pixels judged against their surroundings: brighter (channel sum) than the
    // area's median by more than rise.
    bool brightBox(const Box& area, Box& box, int rise = 30) const;
    int medianBrightness(const Box& area) const;
    // Brightest less darkest channel sum over the pixels of area outside inner.
    int ringSpread(const Box& area, const Box& inner) const;

    // Pixels of the area whose channel sums differ by more than threshold.
    int countDiff(const Picture& other, const Box& area, int threshold = 24) const;
    int countDiff(const Picture& other, int threshold = 24) const;

    // The column of an upright edge across the area (a wall corner seen with the view
    // level): where the strongest brightness step of each sampled row crosses its middle,
    // averaged over the rows that agree within a pixel; -1 unless at least half of them do.
    double verticalEdgeColumn(const Box& area, int minStep = 45) const;

    Box whole() const { return region_; }

    // Writes a binary PPM; returns the path, or an empty string if it could not.
    std::string save(const std::string& path) const;

private:
    Box clip(const Box& area) const;
    // Bounding box of the area's pixels that selected picks; false if none.
    bool boundingBox(const Box& area, Box& box,
                     const std::function<bool(const Rgb&)>& selected) const;

    Box region_ = {0, 0, -1, -1};
    std::vector<unsigned char> rgb_;
};

// The title screen: its name line lit where it belongs and the margins black.
bool showsTitleScreen(const Picture& picture);

// A game frame: the arena walls fill the view, so most of it is not black.
bool showsGameFrame(const Picture& picture);

// True when the overlay element standing out in expected.grown(margin) covers exactly the
// expected box, give or take a pixel of multisampled edge. A target behind the element makes
// its surroundings uneven and the judgement unsafe: then false, with why saying so.
bool overlayAt(const Picture& picture, const Box& expected, int margin, std::string& why);

// Where overlay capitals land: the raster position's column and its row below the top edge.
// The letters rest on that row and are 11 rows high, 10 columns apart; the box assumes the
// first and the last letter reach the left and right edges of their 8-column cells.
Box overlayTextBox(int column, int row, int characters);

}  // namespace e2e
