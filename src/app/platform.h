// What opening the window does differently on each system. The build compiles one
// platform_*.cpp, the one for the system it builds for; the rest of the game is the same.
#pragma once

// Before glfwInit: which of GLFW's backends to use, and how.
void setPlatformInitHints();

// Before the window is created: how the desktop is to know it.
void setPlatformWindowHints();
