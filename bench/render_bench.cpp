// The CPU cost of issuing one in-game frame of 136 objects. Run it under an X server with
// GALLIUM_NOOP=1 so the driver discards the drawing and only the game's own work is timed.
// The no-op driver never frees the vertex and bitmap buffers it is handed (about 0.5 MB a
// frame), so after some 2,500 frames in one process the kernel's page clearing swamps the
// timing; each benchmark therefore draws a fixed, smaller number of frames.
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include "app/window.h"
#include "bench_scene.h"
#include "core/game_state.h"
#include "play/game_lifecycle.h"
#include "render/font.h"
#include "render/frame.h"
#include "render/title_screen.h"
#include "world/scene_objects.h"
#include "world/sphere_mesh.h"
#include "world/view_volume.h"

namespace {

constexpr int kTurnFrames = 60;
constexpr double kTurnPerFrame = 360.0 / kTurnFrames;

// The game swaps after every frame; the swap is the driver's work, not the frame's.
void swapUntimed(benchmark::State& state) {
    state.PauseTiming();
    glfwSwapBuffers(g_window);
    state.ResumeTiming();
}

void BM_RenderFrame(benchmark::State& state) {
    startBenchGame();
    renderFrame();  // compiles the sphere list once, outside the timing
    for (auto _ : state) {
        renderFrame();
        swapUntimed(state);
    }
    state.counters["objects"] = static_cast<double>(g_objects.size());
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMicrosecond)->Iterations(300)->Repetitions(5);

// The frame with the driver made to finish it: under the software renderer, this is what a
// player without a graphics card waits for each tick. view:0 sends every mesh and panel
// whatever the view, as the game did before it culled; backfaces:0 draws every mesh with its
// back faces, as before back-face culling; objects:0 is the floor, the frame with no objects;
// overlay:0 draws the overlay only before the scene, without its second pass on top.
// The view makes a full turn over the 60 frames, so walls and targets pass through it.
void BM_RenderFrameFinished(benchmark::State& state) {
    g_viewCulling = state.range(0) != 0;
    g_backFaceCulling = state.range(1) != 0;
    g_overlayOnTop = state.range(3) != 0;
    startBenchGame();
    if (state.range(2) == 0) deleteAllObjects();
    renderFrame();
    const long culledBefore = g_meshesCulled, backCulledBefore = g_meshesBackCulled;
    int frame = 0;
    for (auto _ : state) {
        g_yaw = kTurnPerFrame * frame++;
        renderFrame();
        glFinish();
        swapUntimed(state);
    }
    state.counters["meshes_culled"] = benchmark::Counter(
        static_cast<double>(g_meshesCulled - culledBefore), benchmark::Counter::kAvgIterations);
    state.counters["front_only"] =
        benchmark::Counter(static_cast<double>(g_meshesBackCulled - backCulledBefore),
                           benchmark::Counter::kAvgIterations);
    g_viewCulling = g_backFaceCulling = g_overlayOnTop = true;
}
BENCHMARK(BM_RenderFrameFinished)
    ->ArgNames({"view", "backfaces", "objects", "overlay"})
    ->Args({1, 1, 1, 1})
    ->Args({1, 0, 1, 1})
    ->Args({0, 0, 1, 1})
    ->Args({1, 1, 0, 1})
    ->Args({1, 1, 1, 0})
    ->Args({1, 1, 0, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kTurnFrames)
    ->Repetitions(5);

// Two fixed costs of every finished frame: clearing the multisampled colour and depth
// buffers, and the swap, which resolves the samples and hands the picture to the X server.
void BM_ClearFinished(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
        swapUntimed(state);
    }
}
BENCHMARK(BM_ClearFinished)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5);

void BM_SwapFinished(benchmark::State& state) {
    startBenchGame();
    for (auto _ : state) {
        state.PauseTiming();
        renderFrame();
        glFinish();
        state.ResumeTiming();
        glfwSwapBuffers(g_window);
        glFinish();
    }
}
BENCHMARK(BM_SwapFinished)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5);

// The three parts of a frame that cost the most, apart.
void BM_FrameWalls(benchmark::State& state) {
    for (auto _ : state) {
        for (int wall = 0; wall < 6; ++wall) drawWallPanel();
        swapUntimed(state);
    }
}
BENCHMARK(BM_FrameWalls)->Unit(benchmark::kMicrosecond)->Iterations(200)->Repetitions(2);

void BM_FrameSpheres(benchmark::State& state) {
    startBenchGame();
    const Sphere& target = *static_cast<const Sphere*>(g_objects.front());
    for (auto _ : state) {
        for (size_t n = 0; n < g_objects.size(); ++n) drawSphereMesh(target);
        swapUntimed(state);
    }
}
BENCHMARK(BM_FrameSpheres)->Unit(benchmark::kMicrosecond)->Iterations(200)->Repetitions(2);

void BM_FrameHudFigures(benchmark::State& state) {
    for (auto _ : state) {
        for (int figure = 0; figure < 5; ++figure) drawNumber(Left, 123, 0);
        swapUntimed(state);
    }
}
BENCHMARK(BM_FrameHudFigures)->Unit(benchmark::kMicrosecond)->Iterations(200)->Repetitions(2);

void BM_RenderTitleScreen(benchmark::State& state) {
    for (auto _ : state) {
        renderTitleScreen();
        swapUntimed(state);
    }
}
BENCHMARK(BM_RenderTitleScreen)->Unit(benchmark::kMicrosecond)->Iterations(200)->Repetitions(2);

}  // namespace

int main(int argc, char** argv) {
    initWindow();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
