// Display lists: commands kept as they came, their vertices in one buffer made with the list.
#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

#include "commands.h"
#include "context.h"
#include "facing.h"
#include "vertex.h"

namespace glweb {
namespace {

constexpr int kMaxNesting = 64;

struct List {
    bool defined = false;
    std::vector<Param> commands;
    Geometry geometry;
    FacingRuns facing;
    GLuint vbo = 0, ibo = 0;
    std::size_t vboBytes = 0, iboBytes = 0;
};

std::deque<List> s_lists(1);  // name 0 is no list
GLuint s_nextName = 1;

// The list being compiled is built aside, so that the old one stays callable until EndList.
List s_building;
GLuint s_compiling = 0;
GLenum s_compileMode = GL_COMPILE;

List* s_playing = nullptr;
int s_nesting = 0;

List& named(GLuint name) {
    while (s_lists.size() <= name) s_lists.emplace_back();
    if (name >= s_nextName) s_nextName = name + 1;
    return s_lists[name];
}

void append(const Param* command) {
    s_building.commands.insert(s_building.commands.end(), command, command + 1 + command->head.size);
}

void appendDraw(std::size_t index) {
    Param command[2];
    command[0].head = {static_cast<std::uint16_t>(Op::DrawGeometry), 1};
    command[1].u = static_cast<GLuint>(index);
    append(command);
}

bool isPrimitive(Op op) {
    return op == Op::Begin || op == Op::End || op == Op::Vertex3f || op == Op::Vertex3d ||
           op == Op::Normal3d || op == Op::Color3f;
}

// Vertices go to the list's builder. A colour or normal between primitives joins the open
// batch, which leaves it current when drawn; with no batch open it is kept as a command.
void record(const Param* command) {
    const Op op = static_cast<Op>(command->head.op);
    Geometry& geometry = s_building.geometry;
    if (!isPrimitive(op)) {
        geometry.closeBatch();
        append(command);
        return;
    }
    const bool between = op != Op::Begin && !geometry.inside();
    if (between && op != Op::Color3f && op != Op::Normal3d) return;  // no Begin: ignored
    if (between && !geometry.batchOpen()) append(command);
    Context& c = context();
    if (op == Op::End) {
        if (geometry.end()) appendDraw(geometry.draws().size() - 1);
        return;
    }
    c.building = &geometry;
    execute(command);
    c.building = &c.immediate;
}

void play(GLuint name) {
    if (name == 0 || name >= s_lists.size() || !s_lists[name].defined) return;
    if (s_nesting >= kMaxNesting) return;
    List* saved = s_playing;
    s_playing = &s_lists[name];
    ++s_nesting;
    const std::vector<Param>& commands = s_playing->commands;
    for (std::size_t i = 0; i < commands.size(); i += 1 + commands[i].head.size) {
        execute(&commands[i]);
    }
    --s_nesting;
    s_playing = saved;
}

GLuint nameAt(GLenum type, const GLvoid* lists, GLsizei i) {
    switch (type) {
        case GL_BYTE: return static_cast<GLuint>(static_cast<const GLbyte*>(lists)[i]);
        case GL_UNSIGNED_BYTE: return static_cast<const GLubyte*>(lists)[i];
        case GL_SHORT: return static_cast<GLuint>(static_cast<const GLshort*>(lists)[i]);
        case GL_UNSIGNED_SHORT: return static_cast<const GLushort*>(lists)[i];
        case GL_INT: return static_cast<GLuint>(static_cast<const GLint*>(lists)[i]);
        case GL_UNSIGNED_INT: return static_cast<const GLuint*>(lists)[i];
        case GL_FLOAT: return static_cast<GLuint>(static_cast<const GLfloat*>(lists)[i]);
        default: return 0;
    }
}

}  // namespace

void dispatch(const Param* command) {
    if (s_compiling) {
        record(command);
        if (s_compileMode == GL_COMPILE) return;
    }
    execute(command);
}

GLuint GenLists(GLsizei range) {
    if (range <= 0 || s_compiling) return 0;
    const GLuint first = s_nextName;
    named(first + static_cast<GLuint>(range) - 1);
    return first;
}

void NewList(GLuint list, GLenum mode) {
    if (list == 0 || s_compiling) return;
    if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) return;
    named(list);
    s_compiling = list;
    s_compileMode = mode;
    s_building.commands.clear();
    s_building.geometry.clear();
    s_building.geometry.color = context().immediate.color;
    for (int i = 0; i < 3; ++i) s_building.geometry.normal[i] = context().immediate.normal[i];
}

// The vertices go to the list's own buffers now, once; the old contents become the next
// list's workspace, so that a list made again every frame allocates nothing. A strip keeps
// its own vertices in the order given, though the next strip repeats half of them: a CPU
// rasterizer's vertex cache (SwiftShader's: 64 slots, chosen by the vertex's number) then
// holds a strip's two rows in neighbouring slots. Shared, a sphere's rows lie 128 apart, take
// the same slots and evict each other at every quad.
void EndList() {
    if (!s_compiling) return;
    List& list = named(s_compiling);
    s_compiling = 0;
    std::swap(list.commands, s_building.commands);
    std::swap(list.geometry, s_building.geometry);
    list.facing.reset();
    list.defined = true;
    if (list.geometry.vertices().empty()) return;
    if (!list.vbo) {
        emscripten_glGenBuffers(1, &list.vbo);
        emscripten_glGenBuffers(1, &list.ibo);
    }
    upload(list.geometry, list.vbo, list.ibo, list.vboBytes, list.iboBytes, GL_STATIC_DRAW);
}

void runCallList(const Param* p) {
    play(p[0].u);
}

void runCallListOffset(const Param* p) {
    play(context().listBase + p[0].u);
}

void runListBase(const Param* p) {
    context().listBase = p[0].u;
}

void CallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    for (GLsizei i = 0; i < n; ++i) Submit<Op::CallListOffset>()(nameAt(type, lists, i));
}

void runDrawGeometry(const Param* p) {
    if (!s_playing) return;
    List& list = *s_playing;
    if (context().enables.cullFace) {
        list.facing.drawFront(list.geometry, p[0].u, list.vbo, list.ibo);
    } else {
        drawBatch(list.geometry.draws()[p[0].u], list.vbo, list.ibo);
    }
}

}  // namespace glweb
