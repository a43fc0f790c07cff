// STUB: to be written.
#include "world/scene_objects.h"

bool Object::contains(float, float, float) { return false; }
Vec3 Object::position() { return pos; }

Sphere::Sphere(Vec3 p, Vec3 r, Vec3 v, float dr, float dg, float db, float sr, float sg, float sb,
               int pts)
    : Object(p), radii(r), velocity(v), diffuse{dr, dg, db, 1.0f}, specular{sr, sg, sb, 1.0f},
      dying(false), expired(false), hitTime(0), slices(128), points(pts) {}
float Sphere::distanceTo(float, float, float) { return 0; }
bool Sphere::contains(float, float, float) { return false; }
void Sphere::draw() {}
int Sphere::hit() { return points; }

PersonSphere::PersonSphere(Vec3 p, Vec3 r, Vec3 v, float dr, float dg, float db, float sr,
                           float sg, float sb, Vec3 k, Vec3 rot)
    : Sphere(p, r, v, dr, dg, db, sr, sg, sb, 0), kick(k), rotation(rot) {}
void PersonSphere::draw() {}
int PersonSphere::hit() { return 0; }
Vec3 PersonSphere::position() { return pos; }

PersonSphereStatic::PersonSphereStatic(Vec3 p, Vec3 r, float cr, float cg, float cb, Vec3 rot)
    : PersonSphere(p, r, {0, 0, 0}, cr, cg, cb, cr, cg, cb, {0, 0, 0}, rot) {}
int PersonSphereStatic::hit() { return 0; }
