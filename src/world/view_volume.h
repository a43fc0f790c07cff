// Whether something about to be drawn can reach the view volume at all.
#pragma once

// On in the game; off only to compare pictures and costs with everything sent.
extern bool g_viewCulling;
// Draws skipped because they lay wholly outside the view: sphere meshes, wall panels.
extern long g_meshesCulled;
extern long g_panelsCulled;

// The unit sphere under the current modelview lies wholly outside one plane of the current
// projection, so drawing it could not set a single pixel.
bool unitSphereOutsideView();

// The same for the unit wall panel [-0.5, 0.5]^2 at z = 0: its four corners all lie outside
// one plane.
bool wallPanelOutsideView();
