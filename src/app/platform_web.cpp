// The browser: the page's GLFW on its canvas. The window's samples follow the desktop's rule,
// asked of the browser before the game's context is made: a canvas keeps the samples its first
// context was made with, so the desktop's way (a second window) cannot apply, and the context's
// own GL_RENDERER is the browser's name rather than the rasterizer's.
#include "app/platform.h"

#include "app/cpu_renderers.h"
#include "app/window.h"

// The page's side of the window (app/web/glfw_page.js).
extern "C" {
void orbfallPageInit();
int orbfallPageRenderer(char* vendor, char* renderer, int size);
}

void setPlatformInitHints() {
    orbfallPageInit();
}

void setPlatformWindowHints() {
    constexpr int kNameSize = 256;
    char vendor[kNameSize] = "";
    char renderer[kNameSize] = "";
    if (!g_samplesOnCpu && orbfallPageRenderer(vendor, renderer, kNameSize) &&
        drawsOnCpu(vendor, renderer)) {
        g_windowSamples = 0;
    }
}
