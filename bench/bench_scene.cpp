// Benchmark scenes built from the regular game start.
#include "bench_scene.h"

#include <cmath>

#include "play/game_lifecycle.h"
#include "core/game_state.h"
#include "core/random.h"
#include "world/scene_objects.h"

void startBenchGame() {
    endGame();
    startGame();
}

void multiplyTargets(int copies) {
    const size_t targets = static_cast<size_t>(g_targetsLeft);
    seedRandom(7);
    for (int c = 1; c < copies; ++c) {
        for (size_t i = 0; i < targets; ++i) {
            const auto* t = static_cast<const Sphere*>(g_objects[i]);
            const Vec3 pos = {static_cast<float>(random15() % 96 - 48),
                              static_cast<float>(random15() % 96 - 48),
                              static_cast<float>(random15() % 96 - 48)};
            g_objects.push_back(new Sphere(pos, t->radii, t->velocity, t->diffuse[0],
                                           t->diffuse[1], t->diffuse[2], t->specular[0],
                                           t->specular[1], t->specular[2], t->points));
            ++g_targetsLeft;
        }
    }
}

void aimAtCrowd() {
    // The target with the most neighbours within 12 units.
    const Sphere* best = nullptr;
    int bestCount = -1;
    for (Object* a : g_objects) {
        int count = 0;
        for (Object* b : g_objects) {
            const float dx = a->pos.x - b->pos.x, dy = a->pos.y - b->pos.y, dz = a->pos.z - b->pos.z;
            count += dx * dx + dy * dy + dz * dz < 144;
        }
        if (count > bestCount && dynamic_cast<Sphere*>(a) && !dynamic_cast<PersonSphere*>(a)) {
            bestCount = count;
            best = static_cast<const Sphere*>(a);
        }
    }
    // A step of the unturned ray (0, 0, 1) becomes (sin w cos p, -sin p, cos w cos p) in the
    // player frame, whose z is the scene's -z.
    const double dx = best->pos.x - g_playerPos.x;
    const double dy = best->pos.y - g_playerPos.y;
    const double dz = -(best->pos.z - -g_playerPos.z);
    const double kDegrees = 180 / 3.141592653589793;
    g_pitch = -std::atan2(dy, std::sqrt(dx * dx + dz * dz)) * kDegrees;
    g_yaw = std::atan2(dx, dz) * kDegrees;
    if (g_yaw < 0) g_yaw += 360;
}
