// The built-in bitmap font: 8 x 13 capital letters in display lists, and 8 x 10 figures.
#pragma once

constexpr int kTextPitch = 10;  // pixels from one letter to the next

enum NumberAlign : int {
    Left = 0,
    Center = 1,
    Right = 2,
};

extern const unsigned char g_letterGlyphs[26][13];
extern const unsigned char g_spaceGlyph[13];
extern const unsigned char g_digitGlyphs[10][10];

// Reserves 128 list names and compiles the space and A-Z.
void buildFont();

// Builds the font's lists unless they exist already.
void prepareFont();

// Draws text at the current raster position, building the font on first use.
void drawText(const char* text);

// Draws value as a figure, placing the raster position itself; rowOffset is pixels below
// the line 40 pixels under the top edge.
void drawNumber(NumberAlign align, int value, int rowOffset);
