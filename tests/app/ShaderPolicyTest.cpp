#include <gtest/gtest.h>

#include "app/ShaderPolicy.h"

TEST(ShaderPolicy, ProgramNeedsOpenGL20AndIsOffOnSoftwareRenderersUnlessForced) {
    struct Row {
        bool gl20;
        const char* renderer;
        bool forced;
        bool expected;
    };
    const Row rows[] = {
        {true, "NVIDIA GeForce RTX 3060/PCIe/SSE2", false, true},
        {true, "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)", false, true},
        {true, "llvmpipe (LLVM 15.0.6, 256 bits)", false, false},
        {true, "llvmpipe (LLVM 15.0.6, 256 bits)", true, true},
        {true, "softpipe", false, false},
        {true, "Mesa X11 swrast", false, false},
        {true, "Software Rasterizer", false, false},
        {true, nullptr, false, true},
        {false, "NVIDIA GeForce RTX 3060/PCIe/SSE2", false, false},
        {false, "llvmpipe (LLVM 15.0.6, 256 bits)", true, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ShaderPolicy::useShaders(row.gl20, row.renderer, row.forced), row.expected)
            << (row.renderer ? row.renderer : "(null)") << " forced " << row.forced;
    }
}
