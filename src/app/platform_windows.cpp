// Windows: GLFW's one backend, with its defaults. The taskbar takes the window's icon from the
// program's resources, where the build puts it under the name GLFW looks for.
#include "app/platform.h"

#include <windows.h>

#include <initializer_list>

void setPlatformInitHints() {
    // glfwTerminate frees the XInput library GLFW loaded. Wine 8's XInput then stops its device
    // thread and is unmapped while that thread is still returning, so the game crashed now and
    // then as it quit. A reference of our own keeps the library until the process ends. The
    // names are GLFW's, in its order, so this is the one it loads.
    for (const wchar_t* name :
         {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll", L"xinput1_2.dll",
          L"xinput1_1.dll"}) {
        if (LoadLibraryW(name)) return;
    }
}

void setPlatformWindowHints() {}
