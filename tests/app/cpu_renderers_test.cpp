// Covers which renderers count as CPU rasterizers, by the strings real drivers report.
#include "app/cpu_renderers.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* vendor;
    const char* renderer;
    bool onCpu;
};

constexpr Row kRows[] = {
    {"Mesa/X.org", "llvmpipe (LLVM 15.0.6, 256 bits)", true},
    {"Mesa", "llvmpipe (LLVM 19.1.7, 256 bits)", true},
    {"Mesa", "zink Vulkan 1.3(llvmpipe (LLVM 15.0.6, 256 bits) (MESA_LLVMPIPE))", true},
    {"VMware, Inc.", "softpipe", true},
    {"Google Inc. (Google)",
     "ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero) (0x0000C0DE)), SwiftShader "
     "driver)",
     true},
    {"Google Inc.", "Google SwiftShader", true},
    {"Microsoft Corporation", "GDI Generic", true},
    {"Microsoft Corporation", "D3D12 (Microsoft Basic Render Driver)", true},
    // GPUs keep their samples, LLVM in a GPU driver's name included.
    {"AMD", "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)",
     false},
    {"Intel", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
    {"NVIDIA Corporation", "NVIDIA GeForce RTX 3060/PCIe/SSE2", false},
    {"Google Inc. (NVIDIA)",
     "ANGLE (NVIDIA, NVIDIA GeForce GTX 1650 Direct3D11 vs_5_0 ps_5_0, D3D11)", false},
    {"Microsoft Corporation", "D3D12 (NVIDIA GeForce RTX 3060)", false},
    {nullptr, nullptr, false},
};

TEST(CpuRenderers, NamesEachCpuRasterizerAndNoGpu) {
    for (const Row& row : kRows) {
        EXPECT_EQ(drawsOnCpu(row.vendor, row.renderer), row.onCpu)
            << (row.vendor ? row.vendor : "(null)") << " / "
            << (row.renderer ? row.renderer : "(null)");
    }
}

}  // namespace
