// On the desktop the window stays up, redrawn by the X server's backing, until the program is
// ended.
#include "core/gl.h"

void keepShowing(GLFWwindow* window) {
    while (!glfwWindowShouldClose(window)) glfwWaitEvents();
}
