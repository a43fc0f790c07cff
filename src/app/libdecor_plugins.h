// Whether libdecor, GLFW's decorations library on Wayland, would find a plugin to draw with.
// With none it complains on stderr and leaves the window bare.
#pragma once

#include <string>

// The directories libdecor searches, separated by ':': LIBDECOR_PLUGIN_DIR's when set, else
// libdecor/plugins-1 beside the libdecor library itself; empty when libdecor is not installed.
std::string libdecorPluginPath();

// Whether a directory of path holds a plugin: libdecor loads the files named *.so.
bool hasLibdecorPlugin(const std::string& path);
