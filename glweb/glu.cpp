// GLU's perspective and its sphere, made of the library's own commands like any caller's.
#include <cmath>
#include <new>

#include <GL/glu.h>

#include "commands.h"

struct GLUquadric {
    GLenum drawStyle = GLU_FILL;
    GLboolean textureCoords = GL_FALSE;
};

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCacheSize = 240;

void normal(GLfloat x, GLfloat y, GLfloat z) {
    glweb::Submit<glweb::Op::Normal3d>()(x, y, z);
}

void vertex(GLfloat x, GLfloat y, GLfloat z) {
    glweb::Submit<glweb::Op::Vertex3f>()(x, y, z);
}

void begin(GLenum mode) {
    glweb::Submit<glweb::Op::Begin>()(mode);
}

void end() {
    glweb::Submit<glweb::Op::End>()();
}

}  // namespace

extern "C" {

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovy / 2 * kPi / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / deltaZ;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / deltaZ;
    m[15] = 0;
    glweb::Floats<16> f;
    for (int i = 0; i < 16; ++i) f.v[i] = static_cast<GLfloat>(m[i]);
    glweb::Submit<glweb::Op::MultMatrix>()(f);
}

GLUquadric* gluNewQuadric(void) {
    return new (std::nothrow) GLUquadric;
}

void gluDeleteQuadric(GLUquadric* quadric) {
    delete quadric;
}

void gluQuadricDrawStyle(GLUquadric* quadric, GLenum draw) {
    quadric->drawStyle = draw;
}

void gluQuadricTexture(GLUquadric* quadric, GLboolean texture) {
    quadric->textureCoords = texture;
}

// Smooth normals facing outwards, filled: a fan at each pole and a quad strip for each stack
// between, every value rounded to float where GLU rounds it.
void gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
    if (slices >= kCacheSize) slices = kCacheSize - 1;
    if (stacks >= kCacheSize) stacks = kCacheSize - 1;
    if (slices < 2 || stacks < 1 || radius < 0.0) return;
    if (quadric->drawStyle != GLU_FILL || quadric->textureCoords) return;  // not drawn here

    GLfloat sinCache1a[kCacheSize], cosCache1a[kCacheSize];
    GLfloat sinCache2a[kCacheSize], cosCache2a[kCacheSize];
    GLfloat sinCache1b[kCacheSize], cosCache1b[kCacheSize];
    GLfloat sinCache2b[kCacheSize], cosCache2b[kCacheSize];
    for (int i = 0; i < slices; ++i) {
        const GLfloat angle = static_cast<GLfloat>(2 * kPi * i / slices);
        sinCache1a[i] = static_cast<GLfloat>(std::sin(static_cast<double>(angle)));
        cosCache1a[i] = static_cast<GLfloat>(std::cos(static_cast<double>(angle)));
        sinCache2a[i] = sinCache1a[i];
        cosCache2a[i] = cosCache1a[i];
    }
    for (int j = 0; j <= stacks; ++j) {
        const GLfloat angle = static_cast<GLfloat>(kPi * j / stacks);
        const double s = std::sin(static_cast<double>(angle));
        const double c = std::cos(static_cast<double>(angle));
        sinCache2b[j] = static_cast<GLfloat>(s);
        cosCache2b[j] = static_cast<GLfloat>(c);
        sinCache1b[j] = static_cast<GLfloat>(radius * s);
        cosCache1b[j] = static_cast<GLfloat>(radius * c);
    }
    sinCache1b[0] = 0;  // both poles come to a point
    sinCache1b[stacks] = 0;
    sinCache1a[slices] = sinCache1a[0];
    cosCache1a[slices] = cosCache1a[0];
    sinCache2a[slices] = sinCache2a[0];
    cosCache2a[slices] = cosCache2a[0];

    const GLfloat r = static_cast<GLfloat>(radius);
    // The pole at +z, its ring walked backwards so that the fan faces out.
    {
        const GLfloat ringSin = sinCache1b[1], ringZ = cosCache1b[1];
        const GLfloat normalSin = sinCache2b[1], normalCos = cosCache2b[1];
        normal(sinCache2a[0] * sinCache2b[0], cosCache2a[0] * sinCache2b[0], cosCache2b[0]);
        begin(GL_TRIANGLE_FAN);
        vertex(0.0f, 0.0f, r);
        for (int i = slices; i >= 0; --i) {
            normal(sinCache2a[i] * normalSin, cosCache2a[i] * normalSin, normalCos);
            vertex(ringSin * sinCache1a[i], ringSin * cosCache1a[i], ringZ);
        }
        end();
    }
    // The pole at -z.
    {
        const GLfloat ringSin = sinCache1b[stacks - 1], ringZ = cosCache1b[stacks - 1];
        const GLfloat normalSin = sinCache2b[stacks - 1], normalCos = cosCache2b[stacks - 1];
        normal(sinCache2a[stacks] * sinCache2b[stacks], cosCache2a[stacks] * sinCache2b[stacks],
               cosCache2b[stacks]);
        begin(GL_TRIANGLE_FAN);
        vertex(0.0f, 0.0f, -r);
        for (int i = 0; i <= slices; ++i) {
            normal(sinCache2a[i] * normalSin, cosCache2a[i] * normalSin, normalCos);
            vertex(ringSin * sinCache1a[i], ringSin * cosCache1a[i], ringZ);
        }
        end();
    }
    for (int j = 1; j < stacks - 1; ++j) {
        const GLfloat zLow = cosCache1b[j], zHigh = cosCache1b[j + 1];
        const GLfloat sinLow = sinCache1b[j], sinHigh = sinCache1b[j + 1];
        const GLfloat normalSinHigh = sinCache2b[j + 1], normalCosHigh = cosCache2b[j + 1];
        const GLfloat normalSinLow = sinCache2b[j], normalCosLow = cosCache2b[j];
        begin(GL_QUAD_STRIP);
        for (int i = 0; i <= slices; ++i) {
            normal(sinCache2a[i] * normalSinHigh, cosCache2a[i] * normalSinHigh, normalCosHigh);
            vertex(sinHigh * sinCache1a[i], sinHigh * cosCache1a[i], zHigh);
            normal(sinCache2a[i] * normalSinLow, cosCache2a[i] * normalSinLow, normalCosLow);
            vertex(sinLow * sinCache1a[i], sinLow * cosCache1a[i], zLow);
        }
        end();
    }
}

}  // extern "C"
