// The rasterizers that run on the CPU, one row each, matched on the driver's own strings.
#include "app/cpu_renderers.h"

#include <cstring>

namespace {

struct CpuRenderer {
    const char* vendor;    // a part of GL_VENDOR, or null where it varies with the version
    const char* renderer;  // a part of GL_RENDERER
};

constexpr CpuRenderer kCpuRenderers[] = {
    {nullptr, "llvmpipe"},     // Mesa's; also under zink on lavapipe, and Wine's opengl32
    {nullptr, "softpipe"},     // Mesa's reference rasterizer
    {"Google", "SwiftShader"},  // alone, or under ANGLE as Chromium's WebGL without a GPU
    {"Microsoft", "GDI Generic"},  // Windows' own OpenGL 1.1, where no vendor driver is
    {"Microsoft", "Basic Render Driver"},  // Direct3D's WARP, through Mesa's d3d12 (WSL)
};

bool contains(const char* text, const char* part) {
    return text && std::strstr(text, part);
}

}  // namespace

bool drawsOnCpu(const char* vendor, const char* renderer) {
    for (const CpuRenderer& row : kCpuRenderers) {
        if ((!row.vendor || contains(vendor, row.vendor)) && contains(renderer, row.renderer))
            return true;
    }
    return false;
}
