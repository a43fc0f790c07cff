// The two WebGL programs: lit or coloured vertices, and bitmaps from the glyph atlas.
#pragma once

#include "context.h"

namespace glweb {

enum Attribute : GLuint { kPosition = 0, kNormal = 1, kColor = 2 };  // scene program
enum BitmapAttribute : GLuint { kCorner = 0, kTexel = 1 };            // bitmap program

// Selects the scene program with the matrices, light and material of the context.
void useSceneProgram();
// Selects the bitmap program for a glyph drawn with its lower left corner at window pixel
// (x, y), at window depth z, in colour.
void useBitmapProgram(GLfloat x, GLfloat y, GLfloat z, const Vec4& color, GLfloat atlasWidth,
                      GLfloat atlasHeight);
// Turns on exactly the vertex arrays in mask (bit n: attribute n).
void enableArrays(unsigned mask);

}  // namespace glweb
