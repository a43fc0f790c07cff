// View-volume tests that let the frame skip what the view cannot show.
#include "world/view_volume.h"

#include <algorithm>
#include <cmath>

#include "core/gl.h"

bool g_viewCulling = true;
bool g_backFaceCulling = true;
long g_meshesCulled = 0;
long g_panelsCulled = 0;
long g_meshesBackCulled = 0;

namespace {

// The pipeline transforms in single precision: a hundredth of the radius is far above its
// rounding anywhere inside the far plane, and keeps almost every culled object culled.
constexpr double kRadiusMargin = 1.01;
// The panel corners' allowance, relative to the clip coordinates compared: still some
// hundreds of times the rounding.
constexpr double kCornerMargin = 1e-4;

constexpr int kPlanes = 6;  // left, right, bottom, top, near, far

// Element (row, column) of a column-major GL matrix.
double at(const GLfloat* m, int row, int column) {
    return m[column * 4 + row];
}

}  // namespace

// Planes from the projection's rows: w + x, w - x, w + y, w - y, w + z, w - z, each >= 0
// inside. With the modelview a turn, moves and one scale, its columns are orthogonal and the
// longest is the ellipsoid's longest semi-axis.
SphereSkip unitSphereSkip() {
    GLfloat p[16], m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);

    double longest = 0;
    for (int column = 0; column < 3; ++column) {
        const double x = at(m, 0, column), y = at(m, 1, column), z = at(m, 2, column);
        longest = std::max(longest, x * x + y * y + z * z);
    }
    const double radius = std::sqrt(longest) * kRadiusMargin;
    const double centre[4] = {at(m, 0, 3), at(m, 1, 3), at(m, 2, 3), 1};

    bool whollyInside = true;
    for (int plane = 0; plane < kPlanes; ++plane) {
        const int row = plane / 2;
        const double sign = plane % 2 == 0 ? 1 : -1;
        double coefficient[4];
        for (int c = 0; c < 4; ++c) coefficient[c] = at(p, 3, c) + sign * at(p, row, c);
        const double normal =
            std::sqrt(coefficient[0] * coefficient[0] + coefficient[1] * coefficient[1] +
                      coefficient[2] * coefficient[2]);
        double distance = 0;
        for (int c = 0; c < 4; ++c) distance += coefficient[c] * centre[c];
        if (distance < -radius * normal) return SphereSkip::Mesh;
        whollyInside = whollyInside && distance > radius * normal;
    }
    // Wholly beyond the near plane, the ellipsoid cannot hold the eye, and no plane clips
    // it, so each back face lies behind a front face. A mirroring modelview would turn
    // the outward faces' winding round.
    const double determinant =
        at(m, 0, 0) * (at(m, 1, 1) * at(m, 2, 2) - at(m, 1, 2) * at(m, 2, 1)) -
        at(m, 0, 1) * (at(m, 1, 0) * at(m, 2, 2) - at(m, 1, 2) * at(m, 2, 0)) +
        at(m, 0, 2) * (at(m, 1, 0) * at(m, 2, 1) - at(m, 1, 1) * at(m, 2, 0));
    return whollyInside && determinant > 0 ? SphereSkip::BackFaces : SphereSkip::Nothing;
}

bool wallPanelOutsideView() {
    GLfloat p[16], m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);

    constexpr double kCorners[4][2] = {{-0.5, -0.5}, {0.5, -0.5}, {-0.5, 0.5}, {0.5, 0.5}};
    double clip[4][4];
    for (int k = 0; k < 4; ++k) {
        double eye[4];
        for (int row = 0; row < 4; ++row) {
            eye[row] =
                at(m, row, 0) * kCorners[k][0] + at(m, row, 1) * kCorners[k][1] + at(m, row, 3);
        }
        for (int row = 0; row < 4; ++row) {
            clip[k][row] = 0;
            for (int c = 0; c < 4; ++c) clip[k][row] += at(p, row, c) * eye[c];
        }
    }

    for (int plane = 0; plane < kPlanes; ++plane) {
        const int row = plane / 2;
        const double sign = plane % 2 == 0 ? 1 : -1;
        bool allOutside = true;
        for (int k = 0; k < 4 && allOutside; ++k) {
            const double w = clip[k][3], v = clip[k][row];
            allOutside = w + sign * v < -kCornerMargin * (std::fabs(w) + std::fabs(v));
        }
        if (allOutside) return true;
    }
    return false;
}
