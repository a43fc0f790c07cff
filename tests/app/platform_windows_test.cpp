// The Windows platform: what it holds on to so that quitting cannot crash.
#include "app/platform.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(PlatformWindows, XInputStaysLoadedWhenGlfwFreesIt) {
    setPlatformInitHints();
    HMODULE glfws = LoadLibraryW(L"xinput1_4.dll");  // as glfwInit takes it
    ASSERT_NE(glfws, nullptr);
    FreeLibrary(glfws);  // as glfwTerminate gives it back
    EXPECT_NE(GetModuleHandleW(L"xinput1_4.dll"), nullptr);
}
