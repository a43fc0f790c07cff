// Linux desktops: X11 wherever an X server can be reached, Wayland natively otherwise, and the
// names that tie the window to the desktop entry.
#include "app/platform.h"

#include <cstdlib>

#include "app/libdecor_plugins.h"
#include "core/gl.h"

namespace {

#ifdef GLFW_PLATFORM
// What libwayland needs to find a compositor without complaining on stderr.
bool waylandNameable() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    return std::getenv("WAYLAND_SOCKET") || (name && name[0] == '/') ||
           (runtimeDir && runtimeDir[0] == '/');
}
#endif

}  // namespace

void setPlatformInitHints() {
#ifdef GLFW_PLATFORM
    // GLFW 3.4 tries Wayland first. Under X (XWayland too) ask for X11, the path every test
    // covers; and where no Wayland socket can be named, libwayland would only print a
    // complaint before GLFW fell back to X11 anyway.
    if (glfwPlatformSupported(GLFW_PLATFORM_X11) &&
        (std::getenv("DISPLAY") || !waylandNameable())) {
        glfwInitHint(GLFW_PLATFORM, GLFW_PLATFORM_X11);
    }
#endif
#ifdef GLFW_WAYLAND_LIBDECOR
    // libdecor without a plugin complains and draws nothing; GLFW's own decorations, or the
    // compositor's, do better. With a plugin, libdecor draws them as the desktop expects.
    if (!hasLibdecorPlugin(libdecorPluginPath())) {
        glfwInitHint(GLFW_WAYLAND_LIBDECOR, GLFW_WAYLAND_DISABLE_LIBDECOR);
    }
#endif
}

void setPlatformWindowHints() {
    glfwWindowHintString(GLFW_X11_CLASS_NAME, "orbfall");  // matches the desktop entry
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, "orbfall");
#ifdef GLFW_WAYLAND_APP_ID
    glfwWindowHintString(GLFW_WAYLAND_APP_ID, "orbfall");
#endif
}
