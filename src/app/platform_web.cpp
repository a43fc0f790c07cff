// The browser: the page's GLFW on its canvas. The window's samples follow the desktop's rule,
// asked of the browser's WebGL before the game's context is made.
#include "app/platform.h"

#include "app/cpu_renderers.h"
#include "core/gl.h"

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
    if (orbfallPageRenderer(vendor, renderer, kNameSize) && drawsOnCpu(vendor, renderer)) {
        glfwWindowHint(GLFW_SAMPLES, 0);
    }
}
