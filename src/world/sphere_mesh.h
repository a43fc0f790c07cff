// The unit sphere, tessellated once per slice count into a display list.
#pragma once

class Sphere;

// Draws the unit sphere of sphere.slices slices and stacks under the current matrix and material.
void drawSphereMesh(const Sphere& sphere);
