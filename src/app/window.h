// The game window: GLFW 3 set-up, fixed render state, and the callbacks in the game's codes.
#pragma once

struct GLFWwindow;

extern GLFWwindow* g_window;
// Samples per pixel the window asks for: the game's 4; none only to compare pictures where
// every driver keeps the overlay in front.
extern int g_windowSamples;
// Whether a rasterizer on the CPU gets them too. Off in the game, which there gets a
// single-sampled window to keep its speed; on for the tests of the multisampled picture, also
// through the environment (ORBFALL_SAMPLES_ON_CPU set) for a test's game process.
extern bool g_samplesOnCpu;

// Opens the window and sets the fixed render state; exits with status 1 on failure.
void initWindow();

// Key codes as the game's handlers expect them: the character printed on the key in the
// current layout (capitals for letters), 257 for Escape, and a code no handler uses for every
// key without one. layoutName is what glfwGetKeyName reports for the key, or null.
int translateKey(int glfwKey, const char* layoutName = nullptr);

// Installs the key callback.
void installKeyCallback();

// Runs the input callbacks for the events waiting; pointer reports that come with the
// pointer entering the window or the focus coming back are not passed on as motion.
void pollEvents();

// Moves the hidden cursor back to the window centre.
void recentreCursor();
