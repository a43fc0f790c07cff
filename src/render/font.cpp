// STUB: to be written.
#include "render/font.h"
void buildFont() {}
void drawText(const char*) {}
void drawNumber(NumberAlign, int, int) {}
