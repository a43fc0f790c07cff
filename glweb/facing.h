// A list's triangles that face away from the eye, left out before WebGL sees them while faces
// are culled. A CPU rasterizer sets up every triangle it is given, culled or not, and the back
// halves of the spheres in full view are half the triangles of a frame.
#pragma once

#include <cstddef>
#include <vector>

#include "geometry.h"
#include "webgl.h"

namespace glweb {

// Consecutive triangles of a draw and bounds on their planes: each unit normal within the
// spread about the axis, each vertex within reach of the centre.
struct FacingRun {
    double axis[3];
    double cosSpread, sinSpread;
    double centre[3];
    double reach;
    std::size_t firstIndex, indexCount;
    bool mayFaceAway;  // false where the normals spread too far for any bound
};

class FacingRuns {
public:
    // The geometry changed: its runs are found again when next drawn.
    void reset() { built_ = false; }
    // Draws the geometry's draw from vbo and ibo as drawBatch does, without the runs of its
    // triangles that all face away from the eye of the current matrices.
    void drawFront(const Geometry& geometry, std::size_t draw, GLuint vbo, GLuint ibo);

private:
    std::vector<FacingRun> runs_;
    std::vector<std::size_t> firstRun_;  // by draw, and one past the last draw
    bool built_ = false;

    void build(const Geometry& geometry);
};

}  // namespace glweb
