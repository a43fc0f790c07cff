// Scene objects: Object <- Sphere <- PersonSphere <- PersonSphereStatic.
// Targets are Spheres; the six view-attached pieces below the eye are PersonSphereStatics.
#pragma once

#include "core/game_state.h"

class Object {
public:
    Vec3 pos;  // a Sphere's centre; a PersonSphere's offset from the player

    explicit Object(Vec3 p) : pos(p) {}

    // Virtual operations, in slot order:
    virtual ~Object() = default;                                 // deleted through Object pointers
    virtual float distanceTo(float px, float py, float pz) = 0;  // normalised ellipsoid distance
    virtual bool contains(float px, float py, float pz);         // true for any point but pos
    virtual void draw() = 0;                                     // draw, then advance one tick
    virtual int hit() = 0;                                       // take a hit, return its points
    virtual Vec3 position();                                     // where the grid bins the object
};

class Sphere : public Object {
public:
    Vec3 radii;          // semi-axes, arena units; never 0
    Vec3 velocity;       // arena units per tick
    float diffuse[4];    // diffuse and ambient material, RGBA
    float specular[4];   // specular material, RGBA
    bool dying;          // set by the first hit, never cleared
    bool expired;        // flash over; the frame deletes the object
    int hitTime;         // ms clock reading of the first hit
    int slices;          // mesh resolution, always 128
    int points;          // what hit() returns

    Sphere(Vec3 pos, Vec3 radii, Vec3 velocity, float dr, float dg, float db, float sr,
           float sg, float sb, int points);

    // Virtual operations, in slot order:
    float distanceTo(float px, float py, float pz) override;
    bool contains(float px, float py, float pz) override;
    void draw() override;
    int hit() override;
};

class PersonSphere : public Sphere {
public:
    Vec3 kick;      // degrees added to pitch, yaw, roll by the first hit
    Vec3 rotation;  // fixed degrees about the object's x, y and z axes

    PersonSphere(Vec3 pos, Vec3 radii, Vec3 velocity, float dr, float dg, float db, float sr,
                 float sg, float sb, Vec3 kick, Vec3 rotation);

    // Virtual operations, in slot order:
    void draw() override;
    int hit() override;
    Vec3 position() override;
};

class PersonSphereStatic : public PersonSphere {
public:
    PersonSphereStatic(Vec3 pos, Vec3 radii, float r, float g, float b, Vec3 rotation);

    // Virtual operations, in slot order:
    int hit() override;
};
