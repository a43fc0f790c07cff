// The state of the one GL context: what OpenGL 1.x keeps that WebGL does not.
#pragma once

#include <vector>

#include "geometry.h"
#include "webgl.h"

namespace glweb {

struct Mat4 {
    GLfloat m[16];  // column after column, as OpenGL stores it
};
constexpr Mat4 kIdentity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

constexpr int kStackDepth = 32;

struct MatrixStack {
    Mat4 levels[kStackDepth] = {kIdentity};
    int depth = 0;
    unsigned serial = 1;  // changes with every change of the top
    Mat4& top() { return levels[depth]; }
    const Mat4& top() const { return levels[depth]; }
};

struct Material {
    Vec4 ambient = {{0.2f, 0.2f, 0.2f, 1}};
    Vec4 diffuse = {{0.8f, 0.8f, 0.8f, 1}};
    Vec4 specular = {{0, 0, 0, 1}};
    Vec4 emission = {{0, 0, 0, 1}};
    GLfloat shininess = 0;
};

struct Light {
    Vec4 ambient = {{0, 0, 0, 1}};
    Vec4 diffuse = {{1, 1, 1, 1}};
    Vec4 specular = {{1, 1, 1, 1}};
    Vec4 position = {{0, 0, 1, 0}};  // in eye coordinates
};

struct RasterPosition {
    GLfloat x = 0, y = 0, z = 0, w = 1;  // window coordinates
    Vec4 color = {{1, 1, 1, 1}};
    bool valid = true;
};

// The switches a push of GL_ENABLE_BIT keeps; those WebGL has are passed on as well.
struct Enables {
    bool lighting = false;
    bool light0 = false;
    bool depthTest = false;
    bool cullFace = false;
};

struct Context {
    MatrixStack modelview;
    MatrixStack projection;
    GLenum matrixMode = GL_MODELVIEW;

    // The current colour and normal live in the immediate-mode builder.
    Geometry immediate;
    Geometry* building = &immediate;  // a compiled list's builder while it takes vertices

    Material material;
    Light light0;
    Vec4 lightModelAmbient = {{0.2f, 0.2f, 0.2f, 1}};
    unsigned lightingSerial = 1;

    RasterPosition raster;
    Enables enables;
    GLint viewport[4] = {0, 0, 0, 0};
    GLint unpackAlignment = 4;
    GLuint listBase = 0;
};

Context& context();

// The viewport, read from WebGL the first time if no glViewport came before.
const GLint* viewport();

}  // namespace glweb

namespace glweb {

// Turns a switch on or off: kept here for the fixed-function ones, passed to WebGL for those
// it has.
void setCapability(GLenum cap, bool on);

}  // namespace glweb
