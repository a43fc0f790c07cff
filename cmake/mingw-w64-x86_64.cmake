# Cross-building for 64-bit Windows on Debian with MinGW-w64 and its POSIX threads, which
# std::thread and GoogleTest need (package g++-mingw-w64-x86-64-posix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORBFALL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORBFALL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORBFALL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORBFALL_MINGW_TRIPLET}-windres)

# Libraries and headers from the MinGW tree and the prefixes given (GLFW's), never the host's;
# programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${ORBFALL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
