// Immediate mode and the drawing of vertex batches, from a list's buffers or the stream's.
#include "vertex.h"

#include <cstddef>

#include "commands.h"
#include "context.h"
#include "program.h"

namespace glweb {
namespace {

constexpr std::size_t kIndexReach = 65536;  // vertices one batch's 16-bit indices can name

GLenum drawnAs(GLenum mode) {
    switch (mode) {
        case GL_POINTS: return GL_POINTS;
        case GL_LINES:
        case GL_LINE_STRIP:
        case GL_LINE_LOOP: return GL_LINES;
        default: return GL_TRIANGLES;
    }
}

struct Stream {
    GLuint vbo = 0, ibo = 0;
    std::size_t vboBytes = 0, iboBytes = 0;
};
Stream s_stream;

void drawImmediate() {
    Geometry& g = context().immediate;
    if (g.draws().empty()) return;
    if (!s_stream.vbo) {
        emscripten_glGenBuffers(1, &s_stream.vbo);
        emscripten_glGenBuffers(1, &s_stream.ibo);
    }
    upload(g, s_stream.vbo, s_stream.ibo, s_stream.vboBytes, s_stream.iboBytes, GL_STREAM_DRAW);
    for (Draw d : g.draws()) {
        d.setsColor = false;  // every vertex carries the current values, which stay current
        d.setsNormal = false;
        drawBatch(d, s_stream.vbo, s_stream.ibo);
    }
}

}  // namespace

void Geometry::begin(GLenum mode) {
    if (inside_) return;  // GL_INVALID_OPERATION
    inside_ = true;
    mode_ = mode;
    primitiveStart_ = vertices_.size();
}

void Geometry::vertex(GLfloat x, GLfloat y, GLfloat z) {
    if (!inside_) return;
    Vertex v = {{x, y, z}, {normal[0], normal[1], normal[2]}, {}};
    for (int i = 0; i < 4; ++i) v.color[i] = color.v[i];
    vertices_.push_back(v);
}

// Once given, a colour or normal is carried by every later vertex of the builder.
void Geometry::setColor(GLfloat r, GLfloat g, GLfloat b) {
    color = {{r, g, b, 1}};
    colorGiven_ = true;
    noteAttributes();
}

void Geometry::setNormal(GLfloat x, GLfloat y, GLfloat z) {
    normal[0] = x;
    normal[1] = y;
    normal[2] = z;
    normalGiven_ = true;
    noteAttributes();
}

void Geometry::noteAttributes() {
    if (!batchOpen_) return;
    Draw& d = draws_.back();
    d.setsColor = d.setsColor || colorGiven_;
    d.setsNormal = d.setsNormal || normalGiven_;
    d.lastColor = color;
    for (int i = 0; i < 3; ++i) d.lastNormal[i] = normal[i];
}

// Every primitive becomes triangles, lines or points; a quad strip's quads split along the
// diagonal a triangle strip would take.
bool Geometry::end() {
    if (!inside_) return false;
    inside_ = false;
    const GLenum as = drawnAs(mode_);
    const std::size_t n = vertices_.size() - primitiveStart_;
    bool opened = false;
    if (!batchOpen_ || draws_.back().mode != as ||
        vertices_.size() - draws_.back().firstVertex > kIndexReach) {
        draws_.push_back({as, primitiveStart_, indices_.size(), 0, false, false, color,
                          {normal[0], normal[1], normal[2]}});
        batchOpen_ = true;
        opened = true;
    }
    Draw& d = draws_.back();
    const std::size_t base = primitiveStart_ - d.firstVertex;
    const auto add = [&](std::size_t i) { indices_.push_back(static_cast<GLushort>(base + i)); };
    switch (mode_) {
        case GL_POINTS:
            for (std::size_t i = 0; i < n; ++i) add(i);
            break;
        case GL_LINES:
            for (std::size_t i = 0; i + 1 < n; i += 2) add(i), add(i + 1);
            break;
        case GL_LINE_STRIP:
        case GL_LINE_LOOP:
            for (std::size_t i = 0; i + 1 < n; ++i) add(i), add(i + 1);
            if (mode_ == GL_LINE_LOOP && n > 2) add(n - 1), add(0);
            break;
        case GL_TRIANGLES:
            for (std::size_t i = 0; i + 2 < n; i += 3) add(i), add(i + 1), add(i + 2);
            break;
        case GL_TRIANGLE_STRIP:
            for (std::size_t i = 0; i + 2 < n; ++i) {
                if (i % 2 == 0) {
                    add(i), add(i + 1), add(i + 2);
                } else {
                    add(i + 1), add(i), add(i + 2);
                }
            }
            break;
        case GL_QUAD_STRIP:
            for (std::size_t i = 0; i + 3 < n; i += 2) {
                add(i), add(i + 1), add(i + 2);
                add(i + 1), add(i + 3), add(i + 2);
            }
            break;
        case GL_QUADS:
            for (std::size_t i = 0; i + 3 < n; i += 4) {
                add(i), add(i + 1), add(i + 2);
                add(i), add(i + 2), add(i + 3);
            }
            break;
        case GL_TRIANGLE_FAN:
        case GL_POLYGON:
        default:
            for (std::size_t i = 1; i + 1 < n; ++i) add(0), add(i), add(i + 1);
            break;
    }
    d.indexCount = indices_.size() - d.firstIndex;
    noteAttributes();
    return opened;
}

void Geometry::clear() {
    vertices_.clear();
    indices_.clear();
    draws_.clear();
    inside_ = false;
    batchOpen_ = false;
    colorGiven_ = false;
    normalGiven_ = false;
}

void upload(const Geometry& geometry, GLuint vbo, GLuint ibo, std::size_t& vboBytes,
            std::size_t& iboBytes, GLenum usage) {
    const std::size_t vertexBytes = geometry.vertices().size() * sizeof(Vertex);
    const std::size_t indexBytes = geometry.indices().size() * sizeof(GLushort);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, vbo);
    if (vertexBytes > vboBytes) {
        vboBytes = vertexBytes * 2;
        emscripten_glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vboBytes), nullptr, usage);
    }
    emscripten_glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(vertexBytes),
                               geometry.vertices().data());
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo);
    if (indexBytes > iboBytes) {
        iboBytes = indexBytes * 2;
        emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(iboBytes), nullptr,
                                usage);
    }
    emscripten_glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(indexBytes),
                               geometry.indices().data());
}

namespace {

// The arrays and the draw call of a batch that has indices.
void drawIndices(const Draw& d, GLuint vbo, GLuint ibo, bool listed) {
    Context& c = context();
    useSceneProgram();
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, vbo);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo);
    const GLsizei stride = sizeof(Vertex);
    const std::size_t first = d.firstVertex * sizeof(Vertex);
    const auto at = [&](std::size_t offset) {
        return reinterpret_cast<const void*>(first + offset);
    };
    emscripten_glVertexAttribPointer(kPosition, 3, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(Vertex, position)));
    emscripten_glVertexAttribPointer(kNormal, 3, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(Vertex, normal)));
    emscripten_glVertexAttribPointer(kColor, 4, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(Vertex, color)));
    // A list that never set the colour or normal draws with the current one.
    const bool ownColor = !listed || d.setsColor;
    const bool ownNormal = !listed || d.setsNormal;
    enableArrays((1u << kPosition) | (ownNormal ? 1u << kNormal : 0) | (ownColor ? 1u << kColor : 0));
    if (!ownColor) emscripten_glVertexAttrib4fv(kColor, c.immediate.color.v);
    if (!ownNormal) {
        emscripten_glVertexAttrib3f(kNormal, c.immediate.normal[0], c.immediate.normal[1],
                                    c.immediate.normal[2]);
    }
    emscripten_glDrawElements(d.mode, static_cast<GLsizei>(d.indexCount), GL_UNSIGNED_SHORT,
                              reinterpret_cast<const void*>(d.firstIndex * sizeof(GLushort)));
}

}  // namespace

void drawBatch(const Draw& d, GLuint vbo, GLuint ibo) {
    Context& c = context();
    const bool listed = vbo != s_stream.vbo;
    if (d.indexCount > 0) drawIndices(d, vbo, ibo, listed);
    if (listed && d.setsColor) c.immediate.color = d.lastColor;
    if (listed && d.setsNormal) {
        for (int i = 0; i < 3; ++i) c.immediate.normal[i] = d.lastNormal[i];
    }
}

void runBegin(const Param* p) {
    context().building->begin(p[0].u);
}

void runEnd(const Param*) {
    Context& c = context();
    Geometry& g = *c.building;
    g.end();
    if (&g == &c.immediate) {
        drawImmediate();
        g.clear();
    }
}

void runVertex3f(const Param* p) {
    context().building->vertex(p[0].f, p[1].f, p[2].f);
}

void runVertex3d(const Param* p) {
    runVertex3f(p);
}

void runNormal3d(const Param* p) {
    context().building->setNormal(p[0].f, p[1].f, p[2].f);
}

void runColor3f(const Param* p) {
    context().building->setColor(p[0].f, p[1].f, p[2].f);
}

}  // namespace glweb
