// Creates one GL context on $DISPLAY and destroys it again, with nothing of the game in the
// process: whether the GL driver alone survives a context's teardown.
#include <GL/glx.h>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 2;
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (!visual) return 2;
    const GLXContext context = glXCreateContext(display, visual, nullptr, True);
    if (!context) return 2;
    glXDestroyContext(display, context);
    XFree(visual);
    XCloseDisplay(display);
    return 0;
}
