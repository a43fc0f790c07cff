// OpenGL 1.x's names and types, and the browser's WebGL 1 underneath them.
#pragma once

#include <GL/gl.h>
#include <webgl/webgl1.h>
