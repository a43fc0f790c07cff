// The glyph tables: the shape rules every letter and figure keeps, as a guard against typos.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "render/font.h"

namespace {

unsigned char mirrored(unsigned char row) {
    unsigned char out = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (row & (1 << bit)) out |= static_cast<unsigned char>(0x80 >> bit);
    }
    return out;
}

TEST(LetterGlyphs, RestOnTwoEmptyRowsAndDiffer) {
    std::set<std::string> shapes;
    for (int i = 0; i < 26; ++i) {
        const unsigned char* rows = g_letterGlyphs[i];
        const char letter = static_cast<char>('A' + i);
        EXPECT_EQ(rows[0], 0) << letter;
        EXPECT_EQ(rows[1], 0) << letter;
        // The body fills its 11 rows: no empty row at its bottom or top.
        EXPECT_NE(rows[2], 0) << letter;
        EXPECT_NE(rows[12], 0) << letter;
        shapes.insert(std::string(rows, rows + 13));
    }
    EXPECT_EQ(shapes.size(), 26u);
}

TEST(LetterGlyphs, SymmetricLettersAreMirrorImages) {
    for (char letter : std::string("AHIMOTUVWXY")) {
        const unsigned char* rows = g_letterGlyphs[letter - 'A'];
        for (int row = 0; row < 13; ++row) {
            EXPECT_EQ(rows[row], mirrored(rows[row])) << letter << " row " << row;
        }
    }
}

TEST(SpaceGlyph, IsBlank) {
    for (unsigned char row : g_spaceGlyph) EXPECT_EQ(row, 0);
}

TEST(DigitGlyphs, RowsComeInPairsAndDiffer) {
    std::set<std::string> shapes;
    for (int digit = 0; digit < 10; ++digit) {
        const unsigned char* rows = g_digitGlyphs[digit];
        for (int row = 0; row < 10; row += 2) {
            EXPECT_EQ(rows[row], rows[row + 1]) << digit << " rows " << row << ", " << row + 1;
        }
        EXPECT_NE(rows[0], 0) << digit;
        EXPECT_NE(rows[9], 0) << digit;
        shapes.insert(std::string(rows, rows + 10));
    }
    EXPECT_EQ(shapes.size(), 10u);
}

TEST(DigitGlyphs, ZeroAndEightAreMirrorImages) {
    for (int digit : {0, 8}) {
        for (int row = 0; row < 10; ++row) {
            EXPECT_EQ(g_digitGlyphs[digit][row], mirrored(g_digitGlyphs[digit][row])) << digit;
        }
    }
}

}  // namespace
