// STUB: to be written.
#include "world/sphere_mesh.h"
void drawSphereMesh(const Sphere&) {}
