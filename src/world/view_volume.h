// Whether something about to be drawn can reach the view volume at all.
#pragma once

// On in the game; off only to compare pictures and costs with everything sent.
extern bool g_viewCulling;
extern bool g_backFaceCulling;
// Draws skipped because they lay wholly outside the view: sphere meshes, wall panels.
extern long g_meshesCulled;
extern long g_panelsCulled;
// Sphere meshes drawn with their back faces culled.
extern long g_meshesBackCulled;

// What the frame may leave out of the unit sphere under the current modelview and projection.
enum class SphereSkip {
    Nothing,    // it crosses a plane of the view volume: clipping may show any of its faces
    Mesh,       // wholly outside one plane: drawing it could not set a single pixel
    BackFaces,  // wholly inside all six, winding kept: its front faces cover all it shows
};
SphereSkip unitSphereSkip();

// The same for the unit wall panel [-0.5, 0.5]^2 at z = 0: its four corners all lie outside
// one plane.
bool wallPanelOutsideView();
