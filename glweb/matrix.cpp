// The modelview and projection stacks, in 32-bit floats and OpenGL's order of operations.
#include "matrix.h"

#include <cmath>

#include "commands.h"

namespace glweb {
namespace {

MatrixStack& currentStack() {
    Context& c = context();
    return c.matrixMode == GL_PROJECTION ? c.projection : c.modelview;
}

void changed(MatrixStack& stack) {
    ++stack.serial;
}

// The top becomes top * m.
void multiplyTop(const Mat4& m) {
    MatrixStack& stack = currentStack();
    stack.top() = multiply(stack.top(), m);
    changed(stack);
}

}  // namespace

Mat4 multiply(const Mat4& a, const Mat4& b) {
    Mat4 p;
    for (int i = 0; i < 4; ++i) {
        const GLfloat ai0 = a.m[i], ai1 = a.m[4 + i], ai2 = a.m[8 + i], ai3 = a.m[12 + i];
        for (int j = 0; j < 4; ++j) {
            const GLfloat* bj = b.m + 4 * j;
            p.m[4 * j + i] = ai0 * bj[0] + ai1 * bj[1] + ai2 * bj[2] + ai3 * bj[3];
        }
    }
    return p;
}

void transform(const Mat4& m, const GLfloat in[4], GLfloat out[4]) {
    for (int i = 0; i < 4; ++i) {
        out[i] = m.m[i] * in[0] + m.m[4 + i] * in[1] + m.m[8 + i] * in[2] + m.m[12 + i] * in[3];
    }
}

void inverseTranspose3(const Mat4& m, GLfloat out[9]) {
    // Cofactors of the upper 3 x 3 (a(r, c) = m[4c + r]) over its determinant.
    const auto a = [&](int r, int c) { return m.m[4 * c + r]; };
    GLfloat cof[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cof[r][c] = a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
        }
    }
    const GLfloat det = a(0, 0) * cof[0][0] + a(0, 1) * cof[0][1] + a(0, 2) * cof[0][2];
    const GLfloat inv = det == 0 ? 0 : 1 / det;
    // inverse(r, c) = cof[c][r] / det; its transpose is cof[r][c] / det.
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) out[3 * c + r] = cof[r][c] * inv;
    }
}

void runMatrixMode(const Param* p) {
    const GLenum mode = p[0].u;
    if (mode == GL_MODELVIEW || mode == GL_PROJECTION) context().matrixMode = mode;
}

void runLoadIdentity(const Param*) {
    MatrixStack& stack = currentStack();
    stack.top() = kIdentity;
    changed(stack);
}

void runPushMatrix(const Param*) {
    MatrixStack& stack = currentStack();
    if (stack.depth + 1 >= kStackDepth) return;  // GL_STACK_OVERFLOW: nothing changes
    stack.levels[stack.depth + 1] = stack.top();
    ++stack.depth;
}

void runPopMatrix(const Param*) {
    MatrixStack& stack = currentStack();
    if (stack.depth == 0) return;  // GL_STACK_UNDERFLOW
    --stack.depth;
    changed(stack);
}

void runTranslatef(const Param* p) {
    const GLfloat x = p[0].f, y = p[1].f, z = p[2].f;
    MatrixStack& stack = currentStack();
    GLfloat* m = stack.top().m;
    m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
    m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
    m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
    m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
    changed(stack);
}

void runTranslated(const Param* p) {
    runTranslatef(p);
}

void runScalef(const Param* p) {
    const GLfloat s[3] = {p[0].f, p[1].f, p[2].f};
    MatrixStack& stack = currentStack();
    GLfloat* m = stack.top().m;
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 4; ++r) m[4 * c + r] *= s[c];
    }
    changed(stack);
}

// A turn about one of the axes is written directly; any other axis is normalised first.
void runRotatef(const Param* p) {
    const GLfloat angle = p[0].f;
    GLfloat x = p[1].f, y = p[2].f, z = p[3].f;
    const double radians = angle * M_PI / 180.0;
    const GLfloat s = std::sin(static_cast<GLfloat>(radians));
    const GLfloat c = std::cos(static_cast<GLfloat>(radians));
    Mat4 r = kIdentity;
    const auto at = [&](int row, int col) -> GLfloat& { return r.m[4 * col + row]; };
    if (x == 0 && y == 0 && z != 0) {
        at(0, 0) = c;
        at(1, 1) = c;
        at(0, 1) = z < 0 ? s : -s;
        at(1, 0) = z < 0 ? -s : s;
    } else if (x == 0 && z == 0 && y != 0) {
        at(0, 0) = c;
        at(2, 2) = c;
        at(0, 2) = y < 0 ? -s : s;
        at(2, 0) = y < 0 ? s : -s;
    } else if (y == 0 && z == 0 && x != 0) {
        at(1, 1) = c;
        at(2, 2) = c;
        at(1, 2) = x < 0 ? s : -s;
        at(2, 1) = x < 0 ? -s : s;
    } else {
        const GLfloat length = std::sqrt(x * x + y * y + z * z);
        if (length <= 1.0e-4f) return;
        x /= length;
        y /= length;
        z /= length;
        const GLfloat xx = x * x, yy = y * y, zz = z * z;
        const GLfloat xy = x * y, yz = y * z, zx = z * x;
        const GLfloat xs = x * s, ys = y * s, zs = z * s;
        const GLfloat oneC = 1.0f - c;
        at(0, 0) = (oneC * xx) + c;
        at(0, 1) = (oneC * xy) - zs;
        at(0, 2) = (oneC * zx) + ys;
        at(1, 0) = (oneC * xy) + zs;
        at(1, 1) = (oneC * yy) + c;
        at(1, 2) = (oneC * yz) - xs;
        at(2, 0) = (oneC * zx) - ys;
        at(2, 1) = (oneC * yz) + xs;
        at(2, 2) = (oneC * zz) + c;
    }
    multiplyTop(r);
}

void runFrustum(const Param* p) {
    const GLfloat left = p[0].f, right = p[1].f, bottom = p[2].f, top = p[3].f;
    const GLfloat zNear = p[4].f, zFar = p[5].f;
    if (zNear <= 0 || zFar <= 0 || left == right || bottom == top || zNear == zFar) return;
    const GLfloat x = (2.0f * zNear) / (right - left);
    const GLfloat y = (2.0f * zNear) / (top - bottom);
    const GLfloat a = (right + left) / (right - left);
    const GLfloat b = (top + bottom) / (top - bottom);
    const GLfloat c = -(zFar + zNear) / (zFar - zNear);
    const GLfloat d = -(2.0f * zFar * zNear) / (zFar - zNear);
    const Mat4 f = {{x, 0, 0, 0, 0, y, 0, 0, a, b, c, -1, 0, 0, d, 0}};
    multiplyTop(f);
}

void runMultMatrix(const Param* p) {
    Mat4 m;
    for (int i = 0; i < 16; ++i) m.m[i] = p[i].f;
    multiplyTop(m);
}

void GetFloatv(GLenum pname, GLfloat* params) {
    const Context& c = context();
    if (pname == GL_MODELVIEW_MATRIX || pname == GL_PROJECTION_MATRIX) {
        const Mat4& m = pname == GL_MODELVIEW_MATRIX ? c.modelview.top() : c.projection.top();
        for (int i = 0; i < 16; ++i) params[i] = m.m[i];
        return;
    }
    emscripten_glGetFloatv(pname, params);
}

}  // namespace glweb
