// Hit-scan firing: each weapon's rays are turned into the line of sight and marched through
// the grid in 0.1-unit steps; the first object a ray enters stops it, and targets score.
#include "play/firing.h"

#include <cmath>

#include "core/clock.h"
#include "core/random.h"
#include "play/movement.h"
#include "play/score.h"
#include "world/grid.h"
#include "world/scene_objects.h"

namespace {

constexpr float kStepLength = 0.1f;  // units per march step

// Crosshair kick of each weapon, in frames.
constexpr int kPistolKick = 6;
constexpr int kShotgunKick = 14;
constexpr int kMachineGunKick = 2;
constexpr double kRecoilStartVelocity = 1.0;  // arena units per frame

// The shotgun fans out to +-0.2 of the forward distance, 9 x 9 pellets, over a quarter of
// the range, and each pellet scores three quarters of the target's points.
constexpr double kPelletFirst = -2.0;
constexpr double kPelletStep = 0.5;
constexpr double kPelletEnd = 2.1;
constexpr double kPelletSpacing = 0.1;
constexpr float kShotgunRange = 0.25f;
constexpr double kPelletShare = 0.75;

// Machine-gun spread: uniform in +-0.03125 on each axis.
constexpr double kSpreadHalf = 0.03125;
constexpr double kSpreadWidth = 2 * kSpreadHalf;

// Reused from shot to shot, so a shot allocates nothing once they have grown.
std::vector<Vec3> s_rayDirections;
std::vector<float> s_rayRangeFactors;

void startScreenEffects(Weapon weapon) {
    if (weapon == Shotgun) {
        g_crosshairKick = kShotgunKick;
        g_recoilOffset = 0.0;
        g_recoilActive = true;
        g_recoilVelocity = kRecoilStartVelocity;
    } else if (weapon == Pistol) {
        g_crosshairKick = kPistolKick;
    } else if (weapon == MachineGun) {
        g_crosshairKick = kMachineGunKick;
    }
    g_justFired = true;
}

// Each direction becomes a 0.1-unit step turned by roll, pitch and yaw, in the player frame.
void turnRays(std::vector<Vec3>& rays) {
    const double r = g_roll * kPi / 180;
    const double p = g_pitch * kPi / 180;
    const double w = g_yaw * kPi / 180;
    const double cosR = std::cos(r), sinR = std::sin(r);
    const double cosP = std::cos(p), sinP = std::sin(p);
    const double cosW = std::cos(w), sinW = std::sin(w);

    for (Vec3& d : rays) {
        normalize(d);
        const float x = d.x * kStepLength;
        const float y = d.y * kStepLength;
        const float z = d.z * kStepLength;
        const float x1 = static_cast<float>(x * cosR - y * sinR);
        const float y1 = static_cast<float>(x * sinR + y * cosR);
        const float y2 = static_cast<float>(y1 * cosP - z * sinP);
        const float z2 = static_cast<float>(y1 * sinP + z * cosP);
        const float x3 = static_cast<float>(x1 * cosW + z2 * sinW);
        const float z3 = static_cast<float>(z2 * cosW - x1 * sinW);
        d = {x3, y2, z3};
    }
}

// The first object in the cell that contains the point, or null.
Object* objectAt(float x, float y, float z) {
    for (Object* object : gridCellAt(x, y, z).objects) {
        if (object->contains(x, y, z)) return object;
    }
    return nullptr;
}

// Marches one ray from the player's eye; returns the object that stopped it, or null.
Object* march(const Vec3& step, float rangeFactor) {
    float qx = g_playerPos.x;
    float qy = g_playerPos.y;
    float qz = -g_playerPos.z;  // the player frame mirrors the scene's z
    const float limit = g_rayRange * rangeFactor;
    for (float t = 0; t < limit; t += kStepLength) {
        qx += step.x;
        qy += step.y;
        qz -= step.z;
        // Beyond a wall on any axis, the ray has left the arena.
        if (std::fabs(qx) > kArenaHalf || std::fabs(qy) > kArenaHalf ||
            std::fabs(qz) > kArenaHalf) {
            return nullptr;
        }
        if (Object* object = objectAt(qx, qy, qz)) return object;
    }
    return nullptr;
}

// A dying target, or any object past its first hit, stops the ray without scoring again.
bool alreadyDying(Object* object) {
    const Sphere* sphere = dynamic_cast<Sphere*>(object);
    return sphere && sphere->dying;
}

}  // namespace

void layOutRays(Weapon weapon, std::vector<Vec3>& directions, std::vector<float>& rangeFactors) {
    directions.clear();
    rangeFactors.clear();
    if (weapon == Pistol) {
        directions.push_back({0, 0, 1});
        rangeFactors.push_back(1.0f);
    } else if (weapon == Shotgun) {
        for (double i = kPelletFirst; i < kPelletEnd; i += kPelletStep) {
            for (double j = kPelletFirst; j < kPelletEnd; j += kPelletStep) {
                directions.push_back({static_cast<float>(kPelletSpacing * i),
                                      static_cast<float>(kPelletSpacing * j), 1});
                rangeFactors.push_back(kShotgunRange);
            }
        }
    } else if (weapon == MachineGun) {
        const int r1 = random15();  // x first, then y
        const int r2 = random15();
        directions.push_back({static_cast<float>(kSpreadHalf - kSpreadWidth * r1 / kRandomMax),
                              static_cast<float>(kSpreadHalf - kSpreadWidth * r2 / kRandomMax), 1});
        rangeFactors.push_back(1.0f);
    }
}

void fire() {
    // The shotgun is locked out until its recoil has played back; such a call does nothing.
    const Weapon weapon = g_weapon;
    if (weapon == Shotgun && g_recoilActive) return;
    startScreenEffects(weapon);

    int sum = 0;
    layOutRays(weapon, s_rayDirections, s_rayRangeFactors);
    if (!s_rayDirections.empty()) turnRays(s_rayDirections);
    rebuildGrid();  // objects have moved since the last rebuild

    for (std::size_t n = 0; n < s_rayDirections.size(); ++n) {
        Object* object = march(s_rayDirections[n], s_rayRangeFactors[n]);
        if (!object || alreadyDying(object)) continue;
        const int points = object->hit();
        if (weapon == Shotgun) {
            sum = static_cast<int>(sum + kPelletShare * points);
        } else {
            sum += points;
        }
    }

    if (sum > 0) {
        addScore(sum);
        g_lastHitScore = sum;
        g_lastHitTime = clockMs();
    }
}
