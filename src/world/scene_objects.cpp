// Targets and view-attached pieces: how they measure points, take hits, move and draw.
#include "world/scene_objects.h"

#include <cmath>

#include "core/clock.h"
#include "core/gl.h"
#include "world/sphere_mesh.h"

namespace {

constexpr int kSphereSlices = 128;
constexpr double kFlashLength = 0.5;   // seconds from the hit until the target is gone
constexpr float kBounceMargin = 1.0f;  // arena units between a wall and where a centre turns

// The dying flash: bright red, dimmed during two short windows (bounds exclusive).
constexpr GLfloat kFlashBright[4] = {1, 0, 0, 1};
constexpr GLfloat kFlashDim[4] = {0.6f, 0, 0, 0};
constexpr GLfloat kFlashSpecular[4] = {0, 0, 0, 0};
constexpr GLfloat kHitRed[4] = {1, 0, 0, 1};

// g_arena, in its stored order.
constexpr int kMinX = 0;
constexpr int kMinY = 1;
constexpr int kMaxZ = 2;
constexpr int kMaxX = 3;
constexpr int kMaxY = 4;
constexpr int kMinZ = 5;

bool flashDimmed(double t) {
    return (t > 0.1 && t < 0.2) || (t > 0.3 && t < 0.4);
}

bool outsideMargin(float v, float low, float high) {
    return v < low + kBounceMargin || v > high - kBounceMargin;
}

void applyNormalMaterial(const Sphere& sphere) {
    glMaterialfv(GL_FRONT, GL_DIFFUSE, sphere.diffuse);
    glMaterialfv(GL_FRONT, GL_AMBIENT, sphere.diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, sphere.specular);
}

}  // namespace

// ---- Object ----

bool Object::contains(float px, float py, float pz) {
    const float dx = pos.x - px;
    const float dy = pos.y - py;
    const float dz = pos.z - pz;
    return std::sqrt(dx * dx + dy * dy + dz * dz) != 0.0f;
}

Vec3 Object::position() {
    return pos;
}

// ---- Sphere ----

Sphere::Sphere(Vec3 p, Vec3 r, Vec3 v, float dr, float dg, float db, float sr, float sg, float sb,
               int pts)
    : Object(p),
      radii(r),
      velocity(v),
      diffuse{dr, dg, db, 1.0f},
      specular{sr, sg, sb, 1.0f},
      dying(false),
      expired(false),
      hitTime(0),
      slices(kSphereSlices),
      points(pts) {}

float Sphere::distanceTo(float px, float py, float pz) {
    const float qx = (pos.x - px) / radii.x;
    const float qy = (pos.y - py) / radii.y;
    const float qz = (pos.z - pz) / radii.z;
    return std::sqrt(qx * qx + qy * qy + qz * qz);
}

bool Sphere::contains(float px, float py, float pz) {
    return Sphere::distanceTo(px, py, pz) < 1.0f;
}

// Drawn where it stood when the call began; a live target then bounces and advances, a dying
// one hangs still, flashes, and expires once its flash is over.
void Sphere::draw() {
    glPushMatrix();
    glTranslatef(pos.x, pos.y, pos.z);
    glScalef(radii.x, radii.y, radii.z);

    if (dying) {
        const double t = elapsedSince(hitTime) / kMsPerSecond;
        if (t > kFlashLength) {
            --g_targetsLeft;
            expired = true;
            glPopMatrix();
            return;
        }
        // Ambient keeps whatever was set last.
        glMaterialfv(GL_FRONT, GL_DIFFUSE, flashDimmed(t) ? kFlashDim : kFlashBright);
        glMaterialfv(GL_FRONT, GL_SPECULAR, kFlashSpecular);
        drawSphereMesh(*this);
    } else {
        applyNormalMaterial(*this);
        // Only the first rule that applies acts, so at most one axis turns per tick.
        if (outsideMargin(pos.z, g_arena[kMinZ], g_arena[kMaxZ])) {
            velocity.z = -velocity.z;
        } else if (outsideMargin(pos.x, g_arena[kMinX], g_arena[kMaxX])) {
            velocity.x = -velocity.x;
        } else if (outsideMargin(pos.y, g_arena[kMinY], g_arena[kMaxY])) {
            velocity.y = -velocity.y;
        }
        pos.x += velocity.x;
        pos.y += velocity.y;
        pos.z += velocity.z;
        drawSphereMesh(*this);
    }
    glPopMatrix();
}

int Sphere::hit() {
    if (!dying) {
        dying = true;
        hitTime = clockMs();
    }
    return points;  // also when already dying: callers that must not score twice check first
}

// ---- PersonSphere ----

PersonSphere::PersonSphere(Vec3 p, Vec3 r, Vec3 v, float dr, float dg, float db, float sr, float sg,
                           float sb, Vec3 k, Vec3 rot)
    : Sphere(p, r, v, dr, dg, db, sr, sg, sb, 0), kick(k), rotation(rot) {}

// The first seven steps undo the view's recoil, yaw and position, so on screen the piece keeps
// still under the eye and turns only with the view's roll and pitch.
void PersonSphere::draw() {
    const float yaw = static_cast<float>(g_yaw);
    const float pitch = static_cast<float>(g_pitch);

    glPushMatrix();
    glRotatef(-yaw, 0, 1, 0);
    glRotatef(-pitch, 1, 0, 0);
    glTranslatef(0, 0, static_cast<float>(g_recoilOffset));
    glRotatef(pitch, 1, 0, 0);
    glRotatef(yaw, 0, 1, 0);
    glTranslatef(g_playerPos.x, g_playerPos.y, -g_playerPos.z);
    glRotatef(-yaw, 0, 1, 0);
    glTranslatef(pos.x, pos.y, pos.z);
    glRotatef(rotation.x, 1, 0, 0);
    glRotatef(rotation.y, 0, 1, 0);
    glRotatef(rotation.z, 0, 0, 1);
    glScalef(radii.x, radii.y, radii.z);

    if (dying) {
        // Red for good, and the offset stays frozen.
        glMaterialfv(GL_FRONT, GL_DIFFUSE, kHitRed);
        glMaterialfv(GL_FRONT, GL_SPECULAR, kHitRed);
    } else {
        applyNormalMaterial(*this);
        pos.x += velocity.x;
        pos.y += velocity.y;
        pos.z += velocity.z;
    }
    drawSphereMesh(*this);
    glPopMatrix();
}

int PersonSphere::hit() {
    if (dying) return 0;
    dying = true;
    hitTime = clockMs();
    g_pitch += kick.x;
    g_yaw += kick.y;
    g_roll += kick.z;
    return 0;
}

// The grid bins a piece at its offset plus the player's stored position, unrotated.
Vec3 PersonSphere::position() {
    return {pos.x + g_playerPos.x, pos.y + g_playerPos.y, pos.z + g_playerPos.z};
}

// ---- PersonSphereStatic ----

PersonSphereStatic::PersonSphereStatic(Vec3 p, Vec3 r, float cr, float cg, float cb, Vec3 rot)
    : PersonSphere(p, r, {0, 0, 0}, cr, cg, cb, cr, cg, cb, {0, 0, 0}, rot) {}

// Never dies, never flashes, never kicks the view.
int PersonSphereStatic::hit() {
    return 0;
}
