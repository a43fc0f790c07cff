// The context itself, its switches, and the commands WebGL runs as OpenGL 1.x does.
#include "commands.h"
#include "context.h"

namespace glweb {

Context& context() {
    static Context c;
    return c;
}

const GLint* viewport() {
    GLint* v = context().viewport;
    if (v[2] == 0 && v[3] == 0) emscripten_glGetIntegerv(GL_VIEWPORT, v);
    return v;
}

void setCapability(GLenum cap, bool on) {
    Context& c = context();
    switch (cap) {
        case GL_LIGHTING:
            c.enables.lighting = on;
            ++c.lightingSerial;
            return;
        case GL_LIGHT0:
            c.enables.light0 = on;
            ++c.lightingSerial;
            return;
        case GL_DEPTH_TEST: c.enables.depthTest = on; break;
        case GL_CULL_FACE: c.enables.cullFace = on; break;
        case GL_BLEND:
        case GL_DITHER:
        case GL_POLYGON_OFFSET_FILL:
        case GL_SCISSOR_TEST:
        case GL_STENCIL_TEST: break;
        default: return;  // nothing WebGL knows, and nothing the game draws with
    }
    if (on) {
        emscripten_glEnable(cap);
    } else {
        emscripten_glDisable(cap);
    }
}

void runEnable(const Param* p) {
    setCapability(p[0].u, true);
}

void runDisable(const Param* p) {
    setCapability(p[0].u, false);
}

void runClear(const Param* p) {
    emscripten_glClear(p[0].u);
}

void runClearColor(const Param* p) {
    emscripten_glClearColor(p[0].f, p[1].f, p[2].f, p[3].f);
}

void runViewport(const Param* p) {
    GLint* v = context().viewport;
    for (int i = 0; i < 4; ++i) v[i] = p[i].i;
    emscripten_glViewport(v[0], v[1], v[2], v[3]);
}

// Bitmaps are read on this side, so the unpacking rules stay here.
void PixelStorei(GLenum pname, GLint param) {
    if (pname == GL_UNPACK_ALIGNMENT && (param == 1 || param == 2 || param == 4 || param == 8)) {
        context().unpackAlignment = param;
    }
}

void Flush() {
    emscripten_glFlush();
}

}  // namespace glweb
