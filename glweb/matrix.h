// The modelview and projection stacks, in 32-bit floats and OpenGL's order of operations.
#pragma once

#include "context.h"

namespace glweb {

// a * b, each element summed left to right.
Mat4 multiply(const Mat4& a, const Mat4& b);
// m * (x, y, z, w).
void transform(const Mat4& m, const GLfloat in[4], GLfloat out[4]);
// The transposed inverse of m's upper 3 x 3, column after column: what normals go through.
void inverseTranspose3(const Mat4& m, GLfloat out[9]);

}  // namespace glweb
