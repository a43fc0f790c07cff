// Immediate mode and the drawing of vertex batches, from a list's buffers or the stream's.
#pragma once

#include "geometry.h"

namespace glweb {

// Draws one batch of the vertices and indices in vbo and ibo with the context's state; a
// batch that set the colour or normal leaves its last one current, as OpenGL does.
void drawBatch(const Draw& draw, GLuint vbo, GLuint ibo);

// Puts a builder's vertices and indices into the buffers, growing them only when too small.
void upload(const Geometry& geometry, GLuint vbo, GLuint ibo, std::size_t& vboBytes,
            std::size_t& iboBytes, GLenum usage);

}  // namespace glweb
