// STUB: to be written.
#include "render/title_screen.h"
#include <GL/gl.h>
void renderTitleScreen() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
