// The light, the front material and the products of the two that the vertex shader sums.
#include "light.h"

#include "commands.h"
#include "matrix.h"

namespace glweb {
namespace {

int valueCount(GLenum pname) {
    return pname == GL_SHININESS || pname == GL_SPOT_EXPONENT || pname == GL_SPOT_CUTOFF ||
                   pname == GL_CONSTANT_ATTENUATION || pname == GL_LINEAR_ATTENUATION ||
                   pname == GL_QUADRATIC_ATTENUATION
               ? 1
           : pname == GL_SPOT_DIRECTION ? 3
                                        : 4;
}

Floats<4> firstValues(GLenum pname, const GLfloat* params) {
    Floats<4> values = {{0, 0, 0, 0}};
    for (int i = 0; i < valueCount(pname); ++i) values.v[i] = params[i];
    return values;
}

void copy(Vec4& to, const Param* p) {
    for (int i = 0; i < 4; ++i) to.v[i] = p[i].f;
}

// Only the front faces are lit, as the game has no two-sided lighting: GL_BACK alone is kept
// nowhere.
void setMaterial(GLenum face, GLenum pname, const Param* p) {
    if (face != GL_FRONT && face != GL_FRONT_AND_BACK) return;
    Material& m = context().material;
    switch (pname) {
        case GL_AMBIENT: copy(m.ambient, p); break;
        case GL_DIFFUSE: copy(m.diffuse, p); break;
        case GL_SPECULAR: copy(m.specular, p); break;
        case GL_EMISSION: copy(m.emission, p); break;
        case GL_AMBIENT_AND_DIFFUSE:
            copy(m.ambient, p);
            copy(m.diffuse, p);
            break;
        case GL_SHININESS:
            if (p[0].f < 0 || p[0].f > 128) return;  // GL_INVALID_VALUE
            m.shininess = p[0].f;
            break;
        default: return;
    }
    ++context().lightingSerial;
}

}  // namespace

Floats<4> materialValues(GLenum pname, const GLfloat* params) {
    return firstValues(pname, params);
}

Floats<4> lightValues(GLenum pname, const GLfloat* params) {
    return firstValues(pname, params);
}

void runMaterialf(const Param* p) {
    if (p[1].u == GL_SHININESS) setMaterial(p[0].u, p[1].u, p + 2);
}

void runMaterialfv(const Param* p) {
    setMaterial(p[0].u, p[1].u, p + 2);
}

// The position goes through the modelview of the moment, as OpenGL keeps it in eye space.
void runLightfv(const Param* p) {
    if (p[0].u != GL_LIGHT0) return;
    Light& light = context().light0;
    switch (p[1].u) {
        case GL_AMBIENT: copy(light.ambient, p + 2); break;
        case GL_DIFFUSE: copy(light.diffuse, p + 2); break;
        case GL_SPECULAR: copy(light.specular, p + 2); break;
        case GL_POSITION: {
            GLfloat object[4];
            for (int i = 0; i < 4; ++i) object[i] = p[2 + i].f;
            transform(context().modelview.top(), object, light.position.v);
            break;
        }
        default: return;
    }
    ++context().lightingSerial;
}

LightingTerms lightingTerms() {
    const Context& c = context();
    const Material& m = c.material;
    const Light& l = c.light0;
    LightingTerms t{};
    t.lit = c.enables.lighting;
    for (int i = 0; i < 4; ++i) t.position[i] = l.position.v[i];
    const bool on = c.enables.light0;
    for (int i = 0; i < 3; ++i) {
        t.sceneColor[i] = c.lightModelAmbient.v[i] * m.ambient.v[i] + m.emission.v[i];
        t.ambient[i] = on ? l.ambient.v[i] * m.ambient.v[i] : 0;
        t.diffuse[i] = on ? l.diffuse.v[i] * m.diffuse.v[i] : 0;
        t.specular[i] = on ? l.specular.v[i] * m.specular.v[i] : 0;
    }
    t.alpha = m.diffuse.v[3];
    t.shininess = m.shininess;
    return t;
}

}  // namespace glweb
