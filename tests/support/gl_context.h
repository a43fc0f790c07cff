// A real game window and GL context for drawing tests (needs an X display, e.g. Xvfb).
#pragma once

#include <vector>

struct Rgb {
    int r, g, b;
};

// Opens the game's own window once per process, with the game's fixed render state.
void openGameWindow();

// The back buffer as drawn so far, read as 8-bit RGB.
class Screenshot {
public:
    Screenshot();  // reads the whole 1024 x 768 back buffer

    // Pixel at a column and a row counted down from the top edge.
    Rgb at(int column, int rowFromTop) const;

    // True if any pixel in the box (inclusive) differs from black by more than threshold.
    bool anyLit(int col0, int row0, int col1, int row1, int threshold = 40) const;

    // Columns and rows (from the top) of the lit pixels' bounding box; false if none.
    bool litBounds(int col0, int row0, int col1, int row1, int& left, int& top, int& right,
                   int& bottom, int threshold = 40) const;

private:
    std::vector<unsigned char> pixels_;  // bottom row first, as GL reads them
};
