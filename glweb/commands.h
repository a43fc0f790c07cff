// The one table of the library's commands, and the packing every entry point shares.
#pragma once

#include <cstdint>

#include "webgl.h"

namespace glweb {

// Rows:
//   PRIMITIVE(name, (parameters), (kept values))  between Begin and End: a list keeps it as
//                                                  vertices in its buffer
//   COMMAND(name, (parameters), (kept values))     run, or kept in the list being compiled
//   ENTRY(type, name, (parameters), (arguments))   never compiled: queries, client state, list
//                                                  management, and calls made of commands
//   PART(name)                                     a command with no entry point of its own
#define GLWEB_COMMANDS(PRIMITIVE, COMMAND, ENTRY, PART)                                          \
    PRIMITIVE(Begin, (GLenum mode), (mode))                                                     \
    PRIMITIVE(End, (void), ())                                                                  \
    PRIMITIVE(Vertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                           \
    PRIMITIVE(Vertex3d, (GLdouble x, GLdouble y, GLdouble z), (x, y, z))                        \
    PRIMITIVE(Normal3d, (GLdouble nx, GLdouble ny, GLdouble nz), (nx, ny, nz))                  \
    PRIMITIVE(Color3f, (GLfloat red, GLfloat green, GLfloat blue), (red, green, blue))          \
    COMMAND(MatrixMode, (GLenum mode), (mode))                                                  \
    COMMAND(LoadIdentity, (void), ())                                                           \
    COMMAND(PushMatrix, (void), ())                                                             \
    COMMAND(PopMatrix, (void), ())                                                              \
    COMMAND(Translatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                           \
    COMMAND(Translated, (GLdouble x, GLdouble y, GLdouble z), (x, y, z))                        \
    COMMAND(Rotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z), (angle, x, y, z))        \
    COMMAND(Scalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                               \
    COMMAND(Frustum,                                                                            \
            (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,      \
             GLdouble zFar),                                                                    \
            (left, right, bottom, top, zNear, zFar))                                            \
    COMMAND(Materialf, (GLenum face, GLenum pname, GLfloat param), (face, pname, param))        \
    COMMAND(Materialfv, (GLenum face, GLenum pname, const GLfloat* params),                     \
            (face, pname, materialValues(pname, params)))                                       \
    COMMAND(Lightfv, (GLenum light, GLenum pname, const GLfloat* params),                       \
            (light, pname, lightValues(pname, params)))                                         \
    COMMAND(Enable, (GLenum cap), (cap))                                                        \
    COMMAND(Disable, (GLenum cap), (cap))                                                       \
    COMMAND(PushAttrib, (GLbitfield mask), (mask))                                              \
    COMMAND(PopAttrib, (void), ())                                                              \
    COMMAND(RasterPos3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                          \
    COMMAND(Bitmap,                                                                             \
            (GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,        \
             GLfloat ymove, const GLubyte* bitmap),                                             \
            (xorig, yorig, xmove, ymove, glyphFor(width, height, bitmap)))                      \
    COMMAND(CallList, (GLuint list), (list))                                                    \
    COMMAND(ListBase, (GLuint base), (base))                                                    \
    COMMAND(Clear, (GLbitfield mask), (mask))                                                   \
    COMMAND(ClearColor, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha),          \
            (red, green, blue, alpha))                                                          \
    COMMAND(Viewport, (GLint x, GLint y, GLsizei width, GLsizei height),                        \
            (x, y, width, height))                                                              \
    ENTRY(void, CallLists, (GLsizei n, GLenum type, const GLvoid* lists), (n, type, lists))     \
    ENTRY(GLuint, GenLists, (GLsizei range), (range))                                           \
    ENTRY(void, NewList, (GLuint list, GLenum mode), (list, mode))                              \
    ENTRY(void, EndList, (void), ())                                                            \
    ENTRY(void, GetFloatv, (GLenum pname, GLfloat* params), (pname, params))                    \
    ENTRY(void, PixelStorei, (GLenum pname, GLint param), (pname, param))                       \
    ENTRY(void, Flush, (void), ())                                                              \
    PART(CallListOffset)                                                                        \
    PART(MultMatrix)                                                                            \
    PART(DrawGeometry)

#define GLWEB_NAME_ROW(name, parameters, values) name,
#define GLWEB_PART_NAME_ROW(name) name,
#define GLWEB_NO_ROW(...)
enum class Op : std::uint16_t {
    GLWEB_COMMANDS(GLWEB_NAME_ROW, GLWEB_NAME_ROW, GLWEB_NO_ROW, GLWEB_PART_NAME_ROW) Count
};

// One value of a command as run or kept; a command is a head and its values.
union Param {
    struct Head {
        std::uint16_t op;
        std::uint16_t size;  // values after the head
    } head;
    GLfloat f;
    GLint i;
    GLuint u;
};
static_assert(sizeof(Param) == 4, "lists keep their commands packed");

template <int N>
struct Floats {
    GLfloat v[N];
};

// Doubles become floats as they enter, as OpenGL keeps them.
inline void pack(Param*& out, GLfloat v) { (out++)->f = v; }
inline void pack(Param*& out, GLdouble v) { (out++)->f = static_cast<GLfloat>(v); }
inline void pack(Param*& out, GLint v) { (out++)->i = v; }
inline void pack(Param*& out, GLuint v) { (out++)->u = v; }
template <int N>
void pack(Param*& out, const Floats<N>& values) {
    for (GLfloat v : values.v) (out++)->f = v;
}

constexpr int kMaxValues = 16;

// Runs the command, keeps it in the list being compiled, or both.
void dispatch(const Param* command);
// Runs the command whatever is being compiled.
void execute(const Param* command);

template <Op op>
struct Submit {
    template <class... V>
    void operator()(const V&... values) const {
        Param command[1 + kMaxValues];
        Param* out = command + 1;
        (pack(out, values), ...);
        command[0].head = {static_cast<std::uint16_t>(op),
                           static_cast<std::uint16_t>(out - command - 1)};
        dispatch(command);
    }
};

// What a command does, one function per row, each in its concern's file.
#define GLWEB_RUN_DECLARATION(name, parameters, values) void run##name(const Param*);
#define GLWEB_PART_RUN_DECLARATION(name) void run##name(const Param*);
GLWEB_COMMANDS(GLWEB_RUN_DECLARATION, GLWEB_RUN_DECLARATION, GLWEB_NO_ROW,
               GLWEB_PART_RUN_DECLARATION)
#undef GLWEB_RUN_DECLARATION
#undef GLWEB_PART_RUN_DECLARATION

// The entry points that are not commands.
void CallLists(GLsizei n, GLenum type, const GLvoid* lists);
GLuint GenLists(GLsizei range);
void NewList(GLuint list, GLenum mode);
void EndList();
void GetFloatv(GLenum pname, GLfloat* params);
void PixelStorei(GLenum pname, GLint param);
void Flush();

// Values a command keeps of what its pointer parameter points to.
Floats<4> materialValues(GLenum pname, const GLfloat* params);
Floats<4> lightValues(GLenum pname, const GLfloat* params);
GLint glyphFor(GLsizei width, GLsizei height, const GLubyte* bitmap);

}  // namespace glweb
