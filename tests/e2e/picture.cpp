// Pixel queries on window grabs, and the recognisers of the game's screens.
#include "picture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace e2e {

std::string describe(const Box& box) {
    return "columns " + std::to_string(box.left) + ".." + std::to_string(box.right) + ", rows " +
           std::to_string(box.top) + ".." + std::to_string(box.bottom);
}

Picture::Picture(const Box& region, std::vector<unsigned char> rgb)
    : region_(region), rgb_(std::move(rgb)) {}

Box Picture::clip(const Box& area) const {
    return {std::max(area.left, region_.left), std::max(area.top, region_.top),
            std::min(area.right, region_.right), std::min(area.bottom, region_.bottom)};
}

Rgb Picture::at(int column, int row) const {
    if (column < region_.left || row < region_.top || column > region_.right ||
        row > region_.bottom)
        return {0, 0, 0};
    const size_t i =
        (static_cast<size_t>(row - region_.top) * region_.width() + (column - region_.left)) * 3;
    return {rgb_[i], rgb_[i + 1], rgb_[i + 2]};
}

bool Picture::boundingBox(const Box& area, Box& box,
                          const std::function<bool(const Rgb&)>& selected) const {
    const Box a = clip(area);
    bool found = false;
    for (int row = a.top; row <= a.bottom; ++row) {
        for (int col = a.left; col <= a.right; ++col) {
            if (!selected(at(col, row))) continue;
            if (!found) box = {col, row, col, row};
            found = true;
            box.left = std::min(box.left, col);
            box.right = std::max(box.right, col);
            box.top = std::min(box.top, row);
            box.bottom = std::max(box.bottom, row);
        }
    }
    return found;
}

bool Picture::litBox(const Box& area, Box& box, int threshold) const {
    return boundingBox(area, box, [threshold](const Rgb& p) {
        return std::max({p.r, p.g, p.b}) > threshold;
    });
}

int Picture::litCount(const Box& area, int threshold) const {
    const Box a = clip(area);
    int count = 0;
    for (int row = a.top; row <= a.bottom; ++row) {
        for (int col = a.left; col <= a.right; ++col) {
            const Rgb p = at(col, row);
            if (std::max({p.r, p.g, p.b}) > threshold) ++count;
        }
    }
    return count;
}

int Picture::impureCount(const Box& area) const {
    const Box a = clip(area);
    int count = 0;
    for (int row = a.top; row <= a.bottom; ++row) {
        for (int col = a.left; col <= a.right; ++col) {
            const int s = at(col, row).sum();
            if (s != 0 && s != 3 * 255) ++count;
        }
    }
    return count;
}

int Picture::medianBrightness(const Box& area) const {
    const Box a = clip(area);
    std::vector<int> sums;
    for (int row = a.top; row <= a.bottom; ++row)
        for (int col = a.left; col <= a.right; ++col) sums.push_back(at(col, row).sum());
    if (sums.empty()) return 0;
    std::nth_element(sums.begin(), sums.begin() + sums.size() / 2, sums.end());
    return sums[sums.size() / 2];
}

int Picture::ringSpread(const Box& area, const Box& inner) const {
    const Box a = clip(area);
    int low = 3 * 255, high = 0;
    for (int row = a.top; row <= a.bottom; ++row) {
        for (int col = a.left; col <= a.right; ++col) {
            if (col >= inner.left && col <= inner.right && row >= inner.top && row <= inner.bottom)
                continue;
            const int s = at(col, row).sum();
            low = std::min(low, s);
            high = std::max(high, s);
        }
    }
    return high >= low ? high - low : 0;
}

bool Picture::brightBox(const Box& area, Box& box, int rise) const {
    const int level = medianBrightness(clip(area)) + rise;
    return boundingBox(area, box, [level](const Rgb& p) { return p.sum() > level; });
}

int Picture::countDiff(const Picture& other, const Box& area, int threshold) const {
    const Box a = clip(area);
    int count = 0;
    for (int row = a.top; row <= a.bottom; ++row)
        for (int col = a.left; col <= a.right; ++col)
            if (std::abs(at(col, row).sum() - other.at(col, row).sum()) > threshold) ++count;
    return count;
}

int Picture::countDiff(const Picture& other, int threshold) const {
    return countDiff(other, whole(), threshold);
}

double Picture::verticalEdgeColumn(const Box& area, int minStep) const {
    const Box a = clip(area);
    std::vector<double> edges;  // per sampled row, where the brightness crosses mid-step
    int rows = 0;
    for (int row = a.top; row <= a.bottom; row += 4) {
        ++rows;
        int best = -1, bestStep = minStep;
        for (int col = a.left + 2; col <= a.right - 2; ++col) {
            const int step = std::abs(at(col + 2, row).sum() - at(col - 2, row).sum());
            if (step > bestStep) {
                bestStep = step;
                best = col;
            }
        }
        if (best < 0) continue;
        // Multisampling blends the pixel the edge passes through; interpolate across it.
        const double mid = (at(best - 2, row).sum() + at(best + 2, row).sum()) / 2.0;
        for (int col = best - 2; col < best + 2; ++col) {
            const double here = at(col, row).sum() - mid;
            const double next = at(col + 1, row).sum() - mid;
            if (here == 0 || (here < 0) != (next < 0)) {
                edges.push_back(col + 0.5 + here / (here - next));
                break;
            }
        }
    }
    if (edges.empty()) return -1;
    // A straight upright edge gives the same crossing on most rows; targets give strays.
    std::sort(edges.begin(), edges.end());
    const double median = edges[edges.size() / 2];
    std::vector<double> near;
    for (double e : edges)
        if (std::abs(e - median) <= 1.0) near.push_back(e);
    if (2 * near.size() < static_cast<size_t>(rows)) return -1;
    double total = 0;
    for (double e : near) total += e;
    return total / near.size();
}

std::string Picture::save(const std::string& path) const {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return "";
    std::fprintf(file, "P6\n%d %d\n255\n", region_.width(), region_.height());
    const bool written = std::fwrite(rgb_.data(), 1, rgb_.size(), file) == rgb_.size();
    return std::fclose(file) == 0 && written ? path : "";
}

// ---- Recognisers ----

namespace {

// Margin points: black on the title screen, wall-lit in a game.
constexpr int kMarginPoints[][2] = {{5, 5},     {1018, 5},  {5, 762},  {1018, 762},
                                    {512, 740}, {300, 740}, {724, 740}};

}  // namespace

bool showsTitleScreen(const Picture& picture) {
    for (const auto& p : kMarginPoints)
        if (picture.at(p[0], p[1]).sum() != 0) return false;
    // "ORBFALL" sits at columns 470..537, rows 188..198.
    return picture.litCount({460, 180, 560, 206}) >= 150;
}

bool showsGameFrame(const Picture& picture) {
    int lit = 0, total = 0;
    for (int row = 16; row < kWindowHeight; row += 32) {
        for (int col = 16; col < kWindowWidth; col += 32) {
            ++total;
            if (picture.at(col, row).sum() > 30) ++lit;
        }
    }
    return lit * 10 >= total * 6;  // a large target's unlit side may be near black
}

bool overlayAt(const Picture& picture, const Box& expected, int margin, std::string& why) {
    constexpr int kEvenBackground = 60;  // channel-sum spread of a wall under a few glyphs
    const Box area = expected.grown(margin);
    const int spread = picture.ringSpread(area, expected.grown(1));
    if (spread > kEvenBackground) {
        why = "uneven surroundings of " + describe(expected) + " (spread " +
              std::to_string(spread) + "): a target behind it, or overlay pixels out of place";
        return false;
    }
    Box found;
    if (!picture.brightBox(area, found)) {
        why = "nothing stands out in " + describe(area);
        return false;
    }
    const bool near =
        std::abs(found.left - expected.left) <= 1 && std::abs(found.right - expected.right) <= 1 &&
        std::abs(found.top - expected.top) <= 1 && std::abs(found.bottom - expected.bottom) <= 1;
    if (!near) why = "found " + describe(found) + ", expected " + describe(expected);
    return near;
}

Box overlayTextBox(int column, int row, int characters) {
    return {column, row - 11, column + 10 * (characters - 1) + 7, row - 1};
}

}  // namespace e2e
