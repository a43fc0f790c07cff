// Which OpenGL renderers draw on the CPU, named by the strings the driver reports.
#pragma once

// Whether GL_VENDOR and GL_RENDERER (either may be null) name a rasterizer that runs on the
// CPU, where 4 samples a pixel cost about two thirds of the game's speed.
bool drawsOnCpu(const char* vendor, const char* renderer);
