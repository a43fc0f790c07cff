// Covers the window the game's own code opens on a CPU rasterizer (the X server's Mesa here):
// single-sampled, so that the game keeps its speed, unless a test asks for the samples.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "harness.h"

TEST(GameWindow, SingleSampledOnACpuRasterizer) {
    e2e::XServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    const std::string game = e2e::windowFormat(server, e2e::gameUnderTest());
    const std::string kept =
        e2e::windowFormat(server, e2e::gameUnderTest(), {"ORBFALL_SAMPLES_ON_CPU=1"});
    EXPECT_EQ(game, "GL_SAMPLES 0 GL_DEPTH_BITS 24\n");
    std::printf("the game's window: %swith the samples kept: %s", game.c_str(), kept.c_str());
}
