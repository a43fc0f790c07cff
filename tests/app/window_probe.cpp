// Opens the game's window as the game does and prints what GL gave it, for the end-to-end
// tests to compare a Windows build's under Wine with the Linux build's on the same display.
#include <cstdio>

#include "app/window.h"
#include "core/gl.h"

int main() {
    initWindow();  // exits with status 1 without a display
    // GL 1.3's names: Windows' own GL header stops at 1.1.
    constexpr GLenum kSamples = 0x80A9;  // GL_SAMPLES
    GLint samples = -1;
    GLint depthBits = -1;
    glGetIntegerv(kSamples, &samples);
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    std::printf("GL_SAMPLES %d GL_DEPTH_BITS %d\n", samples, depthBits);
    glfwTerminate();
    return 0;
}
