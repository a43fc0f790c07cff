// Vertices from Begin and End, as the triangles and lines WebGL draws, in batches of draws.
#pragma once

#include <cstddef>
#include <vector>

#include "webgl.h"

namespace glweb {

struct Vec4 {
    GLfloat v[4];
};

struct Vertex {
    GLfloat position[3];
    GLfloat normal[3];
    GLfloat color[4];
};

// One draw: indices into vertices from firstVertex on, which 16-bit indices reach.
struct Draw {
    GLenum mode;  // GL_TRIANGLES, GL_LINES or GL_POINTS
    std::size_t firstVertex;
    std::size_t firstIndex;
    std::size_t indexCount;
    // Whether the vertices carry a colour (or normal) given in the list, left current once
    // drawn; else they take the current one at the time of drawing.
    bool setsColor;
    bool setsNormal;
    Vec4 lastColor;
    GLfloat lastNormal[3];
};

class Geometry {
public:
    Vec4 color = {{1, 1, 1, 1}};
    GLfloat normal[3] = {0, 0, 1};

    void begin(GLenum mode);
    void vertex(GLfloat x, GLfloat y, GLfloat z);
    void setColor(GLfloat r, GLfloat g, GLfloat b);
    void setNormal(GLfloat x, GLfloat y, GLfloat z);
    // Returns true when the primitive opened a new draw rather than joining the last one.
    bool end();
    // Later primitives go to a draw of their own (state changed in between).
    void closeBatch() { batchOpen_ = false; }
    void clear();
    bool inside() const { return inside_; }
    bool batchOpen() const { return batchOpen_; }

    const std::vector<Vertex>& vertices() const { return vertices_; }
    const std::vector<GLushort>& indices() const { return indices_; }
    const std::vector<Draw>& draws() const { return draws_; }

private:
    std::vector<Vertex> vertices_;
    std::vector<GLushort> indices_;
    std::vector<Draw> draws_;
    GLenum mode_ = GL_POINTS;
    std::size_t primitiveStart_ = 0;
    bool inside_ = false;
    bool batchOpen_ = false;
    bool colorGiven_ = false;
    bool normalGiven_ = false;

    void noteAttributes();
};

}  // namespace glweb
