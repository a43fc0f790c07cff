// The unit sphere mesh: tessellated once per slice count into a display list, then only called.
#include "world/sphere_mesh.h"

#include "core/game_state.h"
#include "core/gl.h"
#include "world/scene_objects.h"
#include "world/view_volume.h"

namespace {

constexpr double kUnitRadius = 1.0;

// Compiles without drawing; the caller draws through the list like every later call.
void compileSphere(unsigned list, int slices) {
    glNewList(list, GL_COMPILE);
    GLUquadric* quadric = gluNewQuadric();
    if (quadric) {  // null only when GLU runs out of memory
        gluQuadricDrawStyle(quadric, GLU_FILL);
        gluQuadricTexture(quadric, GL_FALSE);
        gluSphere(quadric, kUnitRadius, slices, slices);
        gluDeleteQuadric(quadric);
    }
    glEndList();
}

}  // namespace

void drawSphereMesh(const Sphere& sphere) {
    const auto found = g_sphereLists.find(sphere.slices);
    unsigned list;
    if (found != g_sphereLists.end()) {
        list = found->second;
    } else {
        list = glGenLists(1);
        g_sphereLists.emplace(sphere.slices, list);
        compileSphere(list, sphere.slices);
    }
    const SphereSkip skip = unitSphereSkip();
    // Most targets lie outside the view; their mesh could not set a pixel.
    if (g_viewCulling && skip == SphereSkip::Mesh) {
        ++g_meshesCulled;
        return;
    }
    // Half the triangles of a sphere in full view face away; the rasterizer need not test them.
    if (g_backFaceCulling && skip == SphereSkip::BackFaces) {
        ++g_meshesBackCulled;
        glEnable(GL_CULL_FACE);
        glCallList(list);
        glDisable(GL_CULL_FACE);
        return;
    }
    glCallList(list);
}
