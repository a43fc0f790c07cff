// STUB: to be written.
#include "render/frame.h"
#include <GL/gl.h>
void renderFrame() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
void drawScores() {}
void drawWallPanel() {}
