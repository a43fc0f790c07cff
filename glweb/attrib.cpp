// The attribute stack, for the groups the game pushes: enables, current values, list base.
#include "commands.h"
#include "context.h"

namespace glweb {
namespace {

constexpr int kAttribDepth = 16;

struct Saved {
    GLbitfield mask;
    Enables enables;
    Vec4 color;
    GLfloat normal[3];
    RasterPosition raster;
    GLuint listBase;
};

Saved s_stack[kAttribDepth];
int s_depth = 0;

}  // namespace

void runPushAttrib(const Param* p) {
    if (s_depth == kAttribDepth) return;  // GL_STACK_OVERFLOW
    const Context& c = context();
    Saved& s = s_stack[s_depth++];
    s.mask = p[0].u;
    s.enables = c.enables;
    s.color = c.immediate.color;
    for (int i = 0; i < 3; ++i) s.normal[i] = c.immediate.normal[i];
    s.raster = c.raster;
    s.listBase = c.listBase;
}

void runPopAttrib(const Param*) {
    if (s_depth == 0) return;  // GL_STACK_UNDERFLOW
    Context& c = context();
    const Saved& s = s_stack[--s_depth];
    if (s.mask & GL_ENABLE_BIT) {
        setCapability(GL_LIGHTING, s.enables.lighting);
        setCapability(GL_LIGHT0, s.enables.light0);
        setCapability(GL_DEPTH_TEST, s.enables.depthTest);
        setCapability(GL_CULL_FACE, s.enables.cullFace);
    }
    if (s.mask & GL_CURRENT_BIT) {
        c.immediate.color = s.color;
        for (int i = 0; i < 3; ++i) c.immediate.normal[i] = s.normal[i];
        c.raster = s.raster;
    }
    if (s.mask & GL_LIST_BIT) c.listBase = s.listBase;
}

}  // namespace glweb
