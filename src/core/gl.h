// OpenGL 1.x and GLU, for every file that draws. GLFW's header includes them after defining
// what the system's own GL headers need first (APIENTRY and WINGDIAPI on Windows), so no
// file has to ask which system it is built for, and <windows.h> stays out of the game.
#pragma once

#define GLFW_INCLUDE_GLU
#include <GLFW/glfw3.h>
