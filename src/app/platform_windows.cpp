// Windows: GLFW's one backend, with its defaults. The taskbar takes the window's icon from the
// program's resources, where the build puts it under the name GLFW looks for.
#include "app/platform.h"

void setPlatformInitHints() {}

void setPlatformWindowHints() {}
