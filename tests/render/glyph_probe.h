// Finding the font's glyphs and figures in a screenshot, for the drawing tests of src/render.
#pragma once

#include <algorithm>
#include <cmath>

#include "render/font.h"
#include "support/gl_context.h"

namespace probe {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

inline int brightest(Rgb p) {
    return std::max({p.r, p.g, p.b});
}

inline int sum(Rgb p) {
    return p.r + p.g + p.b;
}

// Pixel at a window position counted from the bottom edge, as GL counts it.
inline Rgb pixel(const Screenshot& shot, int x, int y) {
    return shot.at(x, kWindowHeight - 1 - y);
}

// On a black background: every set bit of the 8-pixel-wide bitmap lit, every clear bit dark,
// with the bitmap's lower-left pixel at window (x, y).
inline bool bitmapShown(const Screenshot& shot, int x, int y, const unsigned char* rows,
                        int height) {
    for (int row = 0; row < height; ++row) {
        for (int bit = 0; bit < 8; ++bit) {
            const bool set = rows[row] & (0x80 >> bit);
            const int level = brightest(pixel(shot, x + bit, y + row));
            if (set ? level < 128 : level > 40) return false;
        }
    }
    return true;
}

// On any background: the set bits are all brighter (or all darker) than every clear bit.
inline bool bitmapStandsOut(const Screenshot& shot, int x, int y, const unsigned char* rows,
                            int height, bool darker, int margin = 12) {
    int setLow = 1000, setHigh = -1, clearLow = 1000, clearHigh = -1;
    for (int row = 0; row < height; ++row) {
        for (int bit = 0; bit < 8; ++bit) {
            const int level = sum(pixel(shot, x + bit, y + row));
            if (rows[row] & (0x80 >> bit)) {
                setLow = std::min(setLow, level);
                setHigh = std::max(setHigh, level);
            } else {
                clearLow = std::min(clearLow, level);
                clearHigh = std::max(clearHigh, level);
            }
        }
    }
    return darker ? setHigh + margin < clearLow : setLow > clearHigh + margin;
}

inline const unsigned char* glyphOf(char c) {
    return c == ' ' ? g_spaceGlyph : g_letterGlyphs[c - 'A'];
}

// A figure's digit whose left edge is at column and whose bottom edge lies row pixels below
// the top edge, on a black background.
inline bool digitAt(const Screenshot& shot, int column, int row, int digit) {
    return bitmapShown(shot, column, kWindowHeight - row, g_digitGlyphs[digit], 10);
}

inline bool digitStandsOut(const Screenshot& shot, int column, int row, int digit, bool darker) {
    return bitmapStandsOut(shot, column, kWindowHeight - row, g_digitGlyphs[digit], 10, darker);
}

// Text of capitals and spaces set at raster window position (x, y) from the bottom: each
// 8 x 13 cell starts 10 pixels after the last, 2 rows below the raster row.
inline bool textShown(const Screenshot& shot, int x, int y, const char* text) {
    for (int i = 0; text[i]; ++i) {
        if (!bitmapShown(shot, x + 10 * i, y - 2, glyphOf(text[i]), 13)) return false;
    }
    return true;
}

// The same with the raster position given as a column and a row below the top edge.
inline bool textAt(const Screenshot& shot, int column, int row, const char* text) {
    return textShown(shot, column, kWindowHeight - row, text);
}

inline bool textStandsOut(const Screenshot& shot, int column, int row, const char* text) {
    for (int i = 0; text[i]; ++i) {
        if (text[i] == ' ') continue;
        if (!bitmapStandsOut(shot, column + 10 * i, kWindowHeight - row - 2, glyphOf(text[i]), 13,
                             false)) {
            return false;
        }
    }
    return true;
}

}  // namespace probe
