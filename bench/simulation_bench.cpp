// What one game tick and one shot cost on the CPU: grid rebuild (against the full scan),
// contact pass, movement, the whole tick at 1x, 10x and 100x the targets, and each weapon.
#include <benchmark/benchmark.h>

#include "play/game_lifecycle.h"
#include "core/game_state.h"
#include "bench_scene.h"
#include "play/firing.h"
#include "play/movement.h"
#include "support/grid_scan.h"
#include "world/contacts.h"
#include "world/grid.h"

namespace {

void holdForwardAndLeft() {
    g_moveDir = {1, 0, -1};
    normalize(g_moveDir);
    g_pitch = -20;
    g_yaw = 35;
}

void BM_RebuildGrid(benchmark::State& state) {
    startBenchGame();
    for (auto _ : state) rebuildGrid();
    state.counters["objects"] = static_cast<double>(g_objects.size());
}
BENCHMARK(BM_RebuildGrid);

void BM_RebuildGridFullScan(benchmark::State& state) {
    startBenchGame();
    for (auto _ : state) rebuildGridByScan();
    state.counters["objects"] = static_cast<double>(g_objects.size());
}
BENCHMARK(BM_RebuildGridFullScan);

void BM_ResolveContacts(benchmark::State& state) {
    startBenchGame();
    for (auto _ : state) resolveContacts();
}
BENCHMARK(BM_ResolveContacts);

void BM_MovePlayer(benchmark::State& state) {
    startBenchGame();
    holdForwardAndLeft();
    for (auto _ : state) {
        movePlayer();
        // Turn round at the walls so every call makes a full step.
        if (g_playerPos.x > 40 || g_playerPos.x < -40) g_playerPos = {0, 0, 0};
        benchmark::DoNotOptimize(g_playerPos);
    }
}
BENCHMARK(BM_MovePlayer);

// Movement and the contact pass with its rebuild: the simulation half of a tick.
void BM_Tick(benchmark::State& state) {
    startBenchGame();
    multiplyTargets(static_cast<int>(state.range(0)));
    holdForwardAndLeft();
    for (auto _ : state) {
        movePlayer();
        resolveContacts();
        if (g_playerPos.x > 40 || g_playerPos.x < -40) g_playerPos = {0, 0, 0};
    }
    state.counters["objects"] = static_cast<double>(g_objects.size());
}
BENCHMARK(BM_Tick)->Arg(1)->Arg(10)->Arg(100)->ArgName("targets_x");

void BM_Fire(benchmark::State& state) {
    startBenchGame();
    g_weapon = static_cast<Weapon>(state.range(0));
    aimAtCrowd();
    for (auto _ : state) {
        g_recoilActive = false;  // lift the shotgun's lock-out so every call shoots
        fire();
    }
    state.counters["score"] = g_score;
}
BENCHMARK(BM_Fire)->Arg(Pistol)->Arg(Shotgun)->Arg(MachineGun)->ArgName("weapon");

}  // namespace

BENCHMARK_MAIN();
