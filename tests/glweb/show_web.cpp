// In a page the canvas keeps the last frame once main returns; the runtime stays alive.
#include "core/gl.h"

void keepShowing(GLFWwindow*) {}
