// Player movement: one fixed step per tick along the held direction turned into the line of
// sight, kept inside the allowed region one axis at a time.
#include "play/movement.h"

#include <cmath>

namespace {

constexpr float kStepLength = 0.5f;  // units per tick
// The allowed region keeps the player off the walls, and well above the floor.
constexpr float kSideLimit = 48.0f;
constexpr float kCeiling = 48.0f;
constexpr float kFloor = -44.0f;

}  // namespace

void normalize(Vec3& v) {
    const float squares = v.x * v.x + v.y * v.y + v.z * v.z;
    const float length = std::sqrt(squares);
    if (length > 0) {
        v.x /= length;
        v.y /= length;
        v.z /= length;
    }
}

void movePlayer() {
    const Vec3 m = g_moveDir;
    // Nothing held: no trigonometry, and not a bit of drift.
    if (m.x == 0 && m.y == 0 && m.z == 0) return;

    const double p = g_pitch * kPi / 180;
    const double w = g_yaw * kPi / 180;
    const double cosP = std::cos(p), sinP = std::sin(p);
    const double cosW = std::cos(w), sinW = std::sin(w);

    // Pitch about x, then yaw about y; each component is a float as soon as it is formed.
    const float y1 = static_cast<float>(m.y * cosP - m.z * sinP);
    const float z1 = static_cast<float>(m.y * sinP + m.z * cosP);
    const float x2 = static_cast<float>(m.x * cosW + z1 * sinW);
    const float z2 = static_cast<float>(z1 * cosW - m.x * sinW);

    // The position is in the mirrored-z frame, so the step is taken against the direction.
    const float nx = g_playerPos.x - kStepLength * x2;
    const float ny = g_playerPos.y - kStepLength * y1;
    const float nz = g_playerPos.z - kStepLength * z2;

    if (std::fabs(nx) < kSideLimit) g_playerPos.x = nx;
    if (ny > kFloor && ny < kCeiling) g_playerPos.y = ny;
    if (std::fabs(nz) < kSideLimit) g_playerPos.z = nz;
}
