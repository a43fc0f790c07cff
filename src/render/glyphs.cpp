// STUB: to be written.
#include "render/font.h"
const unsigned char g_letterGlyphs[26][13] = {};
const unsigned char g_spaceGlyph[13] = {};
const unsigned char g_digitGlyphs[10][10] = {};
