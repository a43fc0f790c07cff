// Text from the font's display lists and figures drawn digit by digit from their bitmaps.
#include "render/font.h"

#include <cmath>
#include <cstring>
#include <string>

#include "core/game_state.h"
#include "core/gl.h"
#include "render/overlay.h"

namespace {

constexpr int kListCount = 128;  // one list name per 7-bit character code

constexpr GLsizei kLetterWidth = 8;
constexpr GLsizei kLetterHeight = 13;
constexpr GLfloat kLetterOriginY = 2;   // the two empty bottom rows hang below the raster row
constexpr GLfloat kLetterAdvance = kTextPitch;

constexpr GLsizei kDigitWidth = 8;
constexpr GLsizei kDigitHeight = 10;
constexpr GLfloat kDigitAdvance = -9;  // figures grow leftwards from their last digit
constexpr int kDigitPitch = 9;         // pixels

constexpr double kHalfPixelX = kPixelX / 2;
constexpr double kRightColumnX = overlayX(1006);  // a right-aligned figure's last digit
constexpr double kFigureTopRows = 40;             // the figure line sits this far down
static_assert(kRightColumnX == 0.482421875, "column 1006, bit for bit");

// Bytes above 127 would name lists beyond the font's own 128 (the sphere meshes, say).
bool hasForeignBytes(const char* text) {
    for (const char* c = text; *c; ++c) {
        if (static_cast<unsigned char>(*c) >= kListCount) return true;
    }
    return false;
}

}  // namespace

void buildFont() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    g_fontListBase = glGenLists(kListCount);
    for (int i = 0; i < 26; ++i) {
        glNewList(g_fontListBase + 'A' + i, GL_COMPILE);
        glBitmap(kLetterWidth, kLetterHeight, 0, kLetterOriginY, kLetterAdvance, 0,
                 g_letterGlyphs[i]);
        glEndList();
    }
    glNewList(g_fontListBase + ' ', GL_COMPILE);
    glBitmap(kLetterWidth, kLetterHeight, 0, kLetterOriginY, kLetterAdvance, 0, g_spaceGlyph);
    glEndList();
}

void prepareFont() {
    if (!g_fontReady) buildFont();
    g_fontReady = true;
}

void drawText(const char* text) {
    prepareFont();

    std::string kept;
    if (hasForeignBytes(text)) {
        // Skipped like any other byte without a glyph: drawn as nothing, no advance.
        for (const char* c = text; *c; ++c) {
            if (static_cast<unsigned char>(*c) < kListCount) kept += *c;
        }
        text = kept.c_str();
    }

    glPushAttrib(GL_LIST_BIT);
    glListBase(g_fontListBase);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}

void drawNumber(NumberAlign align, int value, int rowOffset) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Only the last frame of a game that runs out of time shows -1; it reads as 0.
    if (value < 0) value = 0;

    // The logarithm is rounded to float before the floor, so values just below a power of ten,
    // from 9 999 995 up, count one digit too many; no figure of the game gets that large.
    int width = 0;
    if (value != 0) {
        const float digitsMinusOne = std::floor(static_cast<float>(std::log10(value)));
        width = static_cast<int>(kDigitPitch * digitsMinusOne);
    }

    double x;
    switch (align) {
        case Left:
            x = (width + kDigitPitch) * kPixelX - 0.5;
            break;
        case Right:
            x = kRightColumnX;
            break;
        case Center:
        default:
            x = (width - kDigitPitch) * kHalfPixelX;
            break;
    }
    // Widened first, so no row offset can overflow the sum.
    const double y =
        (0.5 - (static_cast<double>(rowOffset) + kFigureTopRows) * kPixelY) * g_screenAspect;
    glRasterPos3f(static_cast<float>(x), static_cast<float>(y), kOverlayZ);

    do {
        glBitmap(kDigitWidth, kDigitHeight, 0, 0, kDigitAdvance, 0, g_digitGlyphs[value % 10]);
        value /= 10;
    } while (value > 0);
    glFlush();
}
