// The CPU cost of issuing one in-game frame of 136 objects. Run it under an X server with
// GALLIUM_NOOP=1 so the driver discards the drawing and only the game's own work is timed.
#include <benchmark/benchmark.h>

#include "app/game_state.h"
#include "app/window.h"
#include "bench_scene.h"
#include "render/frame.h"
#include "render/title_screen.h"

namespace {

void BM_RenderFrame(benchmark::State& state) {
    startBenchGame();
    renderFrame();  // compiles the sphere list once, outside the timing
    for (auto _ : state) renderFrame();
    state.counters["objects"] = static_cast<double>(g_objects.size());
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMicrosecond);

void BM_RenderTitleScreen(benchmark::State& state) {
    for (auto _ : state) renderTitleScreen();
}
BENCHMARK(BM_RenderTitleScreen)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    initWindow();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
