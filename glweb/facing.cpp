// Runs of a list's triangles, each left out when all of its triangles face away. Only back
// faces are culled here (the library keeps OpenGL's default cull face and front face), so a
// triangle is culled when its window-space corners turn clockwise: the sign of the determinant
// of their clip-space x, y and w, in front of the eye. For the rows R0, R1, R3 of projection *
// modelview and a triangle's plane P, that determinant is E . P, where E, the generalized
// cross product of the rows, is the centre of projection in object coordinates. So a run is
// judged in object coordinates, once a draw, without transforming a vertex.
#include "facing.h"

#include <algorithm>
#include <cmath>

#include "context.h"
#include "vertex.h"

namespace glweb {
namespace {

// 8 quads of a sphere's ring: normals within about 12 degrees of their axis.
constexpr std::size_t kRunTriangles = 16;
// A run is left out only when it faces away by this share of the largest value its bound can
// take, so that no triangle a rasterizer's rounding turns to face the eye goes missing.
constexpr double kMargin = 0.01;

struct Vec4d {
    double v[4];
};

double dot3(const double* a, const double* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double det3(const double* a, const double* b, const double* c) {
    return a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
           a[2] * (b[0] * c[1] - b[1] * c[0]);
}

// The vector x with x . d = det(d, a, b, c) for every d.
Vec4d cross4(const Vec4d& a, const Vec4d& b, const Vec4d& c) {
    Vec4d x;
    for (int k = 0; k < 4; ++k) {
        double ra[3], rb[3], rc[3];
        for (int j = 0, n = 0; j < 4; ++j) {
            if (j == k) continue;
            ra[n] = a.v[j], rb[n] = b.v[j], rc[n] = c.v[j];
            ++n;
        }
        const double d = det3(ra, rb, rc);
        x.v[k] = k % 2 ? -d : d;
    }
    return x;
}

// The centre of projection of the current matrices, in object coordinates.
Vec4d eyeInObject() {
    const Context& c = context();
    const GLfloat* p = c.projection.top().m;
    const GLfloat* m = c.modelview.top().m;
    Vec4d rows[4];
    for (int r = 0; r < 4; ++r) {
        for (int k = 0; k < 4; ++k) {
            double sum = 0;
            for (int j = 0; j < 4; ++j) sum += double(p[4 * j + r]) * m[4 * k + j];
            rows[r].v[k] = sum;
        }
    }
    return cross4(rows[0], rows[1], rows[3]);
}

// The indices of the runs that may face the eye, gathered for one draw. The buffer's store is
// replaced at every draw rather than written over: a draw before may still be reading it, and
// WebGL would wait for that draw, or end the frame's render pass, before writing.
std::vector<GLushort> s_front;
GLuint s_frontIbo = 0;

// The bounds of the triangles from the draw's index first on, as many as a run holds.
FacingRun boundRun(const Geometry& geometry, const Draw& d, std::size_t first) {
    const std::vector<Vertex>& vertices = geometry.vertices();
    const std::vector<GLushort>& indices = geometry.indices();
    FacingRun run = {};
    run.firstIndex = d.firstIndex + first;
    run.indexCount = std::min(3 * kRunTriangles, d.indexCount - first);
    double normals[kRunTriangles][3];
    std::size_t planes = 0;
    double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (std::size_t t = 0; t + 2 < run.indexCount; t += 3) {
        double p[3][3];
        for (int corner = 0; corner < 3; ++corner) {
            const Vertex& v = vertices[d.firstVertex + indices[run.firstIndex + t + corner]];
            for (int i = 0; i < 3; ++i) {
                p[corner][i] = v.position[i];
                low[i] = std::min(low[i], p[corner][i]);
                high[i] = std::max(high[i], p[corner][i]);
            }
        }
        const double e[3] = {p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
        const double f[3] = {p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
        double* n = normals[planes];
        n[0] = e[1] * f[2] - e[2] * f[1];
        n[1] = e[2] * f[0] - e[0] * f[2];
        n[2] = e[0] * f[1] - e[1] * f[0];
        const double length = std::sqrt(dot3(n, n));
        if (length == 0) continue;  // no area in any view: it draws nothing
        for (int i = 0; i < 3; ++i) n[i] /= length;
        ++planes;
    }
    double sum[3] = {0, 0, 0};
    for (std::size_t i = 0; i < planes; ++i) {
        for (int k = 0; k < 3; ++k) sum[k] += normals[i][k];
    }
    const double length = std::sqrt(dot3(sum, sum));
    if (planes > 0 && length > 0) {
        for (int k = 0; k < 3; ++k) run.axis[k] = sum[k] / length;
        run.cosSpread = 1;
        for (std::size_t i = 0; i < planes; ++i) {
            run.cosSpread = std::min(run.cosSpread, dot3(normals[i], run.axis));
        }
        run.sinSpread = std::sqrt(std::max(0.0, 1 - run.cosSpread * run.cosSpread));
        run.mayFaceAway = run.cosSpread > 0;
        for (int k = 0; k < 3; ++k) run.centre[k] = (low[k] + high[k]) / 2;
        for (std::size_t t = 0; t < run.indexCount; ++t) {
            const Vertex& v = vertices[d.firstVertex + indices[run.firstIndex + t]];
            const double r[3] = {v.position[0] - run.centre[0],
                                 v.position[1] - run.centre[1],
                                 v.position[2] - run.centre[2]};
            run.reach = std::max(run.reach, std::sqrt(dot3(r, r)));
        }
    }
    return run;
}

// A triangle of the run with unit normal n through its vertex q gives E . P = n . (Exyz - Ew q)
// = n . V + Ew n . (centre - q), where V = Exyz - Ew centre: at most |V| cos(the angle from V to
// the nearest normal the spread allows) + |Ew| reach.
bool facesAway(const FacingRun& run, const double eye[4]) {
    if (!run.mayFaceAway) return false;
    const double w = eye[3];
    const double v[3] = {eye[0] - w * run.centre[0], eye[1] - w * run.centre[1],
                         eye[2] - w * run.centre[2]};
    const double length = std::sqrt(dot3(v, v));
    const double cosAngle = length > 0 ? dot3(run.axis, v) / length : 1;
    const double sinAngle = std::sqrt(std::max(0.0, 1 - cosAngle * cosAngle));
    const double nearest =
        cosAngle >= run.cosSpread ? 1 : cosAngle * run.cosSpread + sinAngle * run.sinSpread;
    const double offCentre = std::fabs(w) * run.reach;
    return length * nearest + offCentre < -kMargin * (length + offCentre);
}

}  // namespace

void FacingRuns::build(const Geometry& geometry) {
    runs_.clear();
    firstRun_.clear();
    for (const Draw& d : geometry.draws()) {
        firstRun_.push_back(runs_.size());
        if (d.mode != GL_TRIANGLES) continue;
        for (std::size_t first = 0; first < d.indexCount; first += 3 * kRunTriangles) {
            runs_.push_back(boundRun(geometry, d, first));
        }
    }
    firstRun_.push_back(runs_.size());
    built_ = true;
}

void FacingRuns::drawFront(const Geometry& geometry, std::size_t draw, GLuint vbo, GLuint ibo) {
    if (!built_) build(geometry);
    const Draw& d = geometry.draws()[draw];
    const Vec4d eye = eyeInObject();
    const std::vector<GLushort>& indices = geometry.indices();
    s_front.clear();
    bool left = false;
    for (std::size_t i = firstRun_[draw]; i < firstRun_[draw + 1]; ++i) {
        const FacingRun& run = runs_[i];
        if (facesAway(run, eye.v)) {
            left = true;
            continue;
        }
        s_front.insert(s_front.end(), indices.begin() + run.firstIndex,
                       indices.begin() + run.firstIndex + run.indexCount);
    }
    if (!left) {
        drawBatch(d, vbo, ibo);
        return;
    }
    if (!s_frontIbo) emscripten_glGenBuffers(1, &s_frontIbo);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, s_frontIbo);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(s_front.size() * sizeof(GLushort)),
                            s_front.data(), GL_STREAM_DRAW);
    Draw front = d;
    front.firstIndex = 0;
    front.indexCount = s_front.size();
    drawBatch(front, vbo, s_frontIbo);
}

}  // namespace glweb
