# What a Windows player installs, made by CPack from the same build: an NSIS installer and a
# portable zip, each with orbfall.exe, the licence and a short README.
#
#   cpack -G "NSIS;ZIP"      from the build directory (tools/windows does it)
install(TARGETS orbfall RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
# CRLF, as Windows' own text tools expect.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in
               ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME orbfall)
set(CPACK_PACKAGE_VENDOR "the Orbfall authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-person target shooting in a closed arena")
# orbfall-<version>-win64.exe and .zip.
set(CPACK_PACKAGE_FILE_NAME orbfall-${PROJECT_VERSION}-win64)
set(CPACK_STRIP_FILES ON)

# The installer: the licence page, then Program Files\Orbfall (the 64-bit one: CPack's
# default follows a variable only Visual C++ sets), a Start-menu shortcut, an entry in the
# installed apps, and an uninstaller that removes all of it.
set(CPACK_PACKAGE_INSTALL_DIRECTORY Orbfall)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Orbfall)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Orbfall)
set(CPACK_NSIS_DISPLAY_NAME Orbfall)
set(CPACK_PACKAGE_EXECUTABLES orbfall Orbfall)
set(CPACK_NSIS_INSTALLED_ICON_NAME orbfall.exe)
set(CPACK_NSIS_MUI_ICON ${ORBFALL_WINDOWS_ICON})
set(CPACK_NSIS_MUI_UNIICON ${ORBFALL_WINDOWS_ICON})
# A 64-bit installer, which runs where only 64-bit Windows programs can (a 64-bit Wine).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")

# The zip unpacks into a folder of its own.
set(CPACK_ZIP_COMPONENT_INSTALL OFF)

include(CPack)
