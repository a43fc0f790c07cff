// Starting a game (state reset, 130 targets in four tiers, six view-attached pieces) and
// ending one.
#include "play/game_lifecycle.h"

#include <iterator>

#include "core/clock.h"
#include "core/game_state.h"
#include "core/random.h"
#include "world/grid.h"
#include "world/scene_objects.h"

namespace {

struct TargetTier {
    int count;
    int speedDivisor;  // top speed per axis is 1 / divisor units per tick
    int points;
    float r, g, b;
};

// Created in this order, every target of a tier before the next tier.
constexpr TargetTier kTiers[] = {
    // count  divisor  points  colour
    {40, 20, 4, 1.0f, 1.0f, 1.0f},   // white
    {30, 14, 5, 0.6f, 0.6f, 0.6f},   // grey
    {40, 8, 10, 0.0f, 0.0f, 1.0f},   // blue
    {20, 3, 15, 0.2f, 0.8f, 0.3f},   // green
};
static_assert(std::size(kTiers) == 4, "four tiers");

struct ViewPiece {
    Vec3 offset;    // from the player's eye, turned with the yaw
    Vec3 radii;
    float r, g, b;
    Vec3 rotation;  // degrees about x, y, z
};

// Mirror pairs across x = 0: 1 and 2, 3 and 5, 4 and 6.
constexpr ViewPiece kViewPieces[] = {
    // offset              radii               colour       rotation
    {{-1, -6, 0},      {0.5f, 1, 1},    1, 1, 1, {0, 0, -30}},
    {{1, -6, 0},       {0.5f, 1, 1},    1, 1, 1, {0, 0, 30}},
    {{1, -4.5f, 0.3f}, {0.3f, 2, 0.3f}, 0, 0, 1, {-20, 0, 0}},
    {{1, -2.5f, -0.2f}, {0.2f, 1.4f, 0.2f}, 0, 0, 1, {5, 0, 5}},
    {{-1, -4.5f, 0.3f}, {0.3f, 2, 0.3f}, 0, 0, 1, {-20, 0, 0}},
    {{-1, -2.5f, -0.2f}, {0.2f, 1.4f, 0.2f}, 0, 0, 1, {5, 0, -5}},
};
static_assert(std::size(kViewPieces) == 6, "six view-attached pieces");

// minX, minY, maxZ, maxX, maxY, minZ, as g_arena stores them.
constexpr float kArenaBounds[] = {-kArenaHalf, -kArenaHalf, kArenaHalf,
                                  kArenaHalf,  kArenaHalf,  -kArenaHalf};
static_assert(std::size(kArenaBounds) == std::size(g_arena), "one value per bound");

// One random target of a tier: exactly eleven draws, in this order.
Sphere* makeTarget(const TargetTier& tier) {
    random15();  // the first draw of every target is discarded
    const float sign = (random15() % 2 == 1) ? 1.0f : -1.0f;
    float speed[3];
    for (float& v : speed) v = static_cast<float>((random15() / kRandomMax) / tier.speedDivisor);
    float radius[3];
    for (float& v : radius) v = static_cast<float>(random15() / kRandomMax * 0.25 + 0.75);
    float coord[3];
    for (float& v : coord) v = static_cast<float>(random15() % 80 - 40);

    const Vec3 pos = {sign * coord[0], sign * coord[1], sign * coord[2]};
    const Vec3 velocity = {sign * speed[0], sign * speed[1], sign * speed[2]};
    return new Sphere(pos, {radius[0], radius[1], radius[2]}, velocity, tier.r, tier.g, tier.b,
                      tier.r, tier.g, tier.b, tier.points);
}

}  // namespace

void startGame() {
    if (g_inGame) return;
    g_inGame = true;

    // In this order, and nothing else: game_state.h lists what survives from the last game.
    g_crosshairKick = 0;
    g_moveDir = {0, 0, 0};
    g_shotgunUnlocked = false;
    g_machineGunUnlocked = false;
    g_justFired = false;
    g_recoilActive = false;
    g_score = 0;
    g_playerPos = {0, 0, 0};
    g_weapon = Pistol;
    g_gameStartTime = clockMs();
    g_pitch = 0;
    g_yaw = 0;
    g_roll = 0;
    g_targetsLeft = 0;
    g_zoom = 1.0;
    g_secondsLeft = kGameSeconds;
    g_recoilOffset = 0;
    g_recoilVelocity = 0;
    g_noticeText.clear();

    g_objects.clear();  // already empty: the previous game ended through endGame
    for (std::size_t i = 0; i < std::size(kArenaBounds); ++i) g_arena[i] = kArenaBounds[i];

    seedRandom(static_cast<std::uint32_t>(calendarSeconds()));
    for (const TargetTier& tier : kTiers) {
        for (int n = 0; n < tier.count; ++n) {
            g_objects.push_back(makeTarget(tier));
            ++g_targetsLeft;
        }
    }
    for (const ViewPiece& piece : kViewPieces) {
        g_objects.push_back(new PersonSphereStatic(piece.offset, piece.radii, piece.r, piece.g,
                                                   piece.b, piece.rotation));
    }
    rebuildGrid();
}

void deleteAllObjects() {
    for (Object* object : g_objects) delete object;
    g_objects.clear();  // the storage is kept for the next game
}

void endGame() {
    deleteAllObjects();
    g_targetsLeft = 0;
    if (g_score > g_highScore) g_highScore = g_score;
    g_inGame = false;
    g_zoom = 1.0;
}
