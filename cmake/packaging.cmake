# Install rules and the Debian package.
include(GNUInstallDirs)

set(ORBFALL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS orbfall RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ORBFALL_PACKAGING_DIR}/orbfall.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# Icon theme sizes: the committed PNGs are made by packaging/make-icons.
foreach(size 48 64 128 256)
  install(FILES ${ORBFALL_PACKAGING_DIR}/icons/orbfall-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME orbfall.png)
endforeach()
install(FILES ${ORBFALL_PACKAGING_DIR}/icons/orbfall.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian wants manual pages compressed; -n keeps the archive free of time stamps.
find_program(ORBFALL_GZIP gzip)
if(ORBFALL_GZIP)
  set(manpage ${CMAKE_CURRENT_BINARY_DIR}/orbfall.6.gz)
  add_custom_command(
    OUTPUT ${manpage}
    COMMAND ${CMAKE_COMMAND} -E copy ${ORBFALL_PACKAGING_DIR}/orbfall.6
            ${CMAKE_CURRENT_BINARY_DIR}/orbfall.6
    COMMAND ${ORBFALL_GZIP} -9nf ${CMAKE_CURRENT_BINARY_DIR}/orbfall.6
    DEPENDS ${ORBFALL_PACKAGING_DIR}/orbfall.6
    COMMENT "Compressing the manual page"
    VERBATIM)
  add_custom_target(orbfall_manpage ALL DEPENDS ${manpage})
else()
  set(manpage ${ORBFALL_PACKAGING_DIR}/orbfall.6)
endif()
install(FILES ${manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# cpack -G DEB, from the build directory.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbfall)
set(CPACK_PACKAGE_VENDOR "Orbfall authors")
set(CPACK_PACKAGE_CONTACT "Orbfall authors <orbfall@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-person target shooting in a closed arena")
set(CPACK_PACKAGE_INSTALL_DIRECTORY orbfall)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orbfall authors <orbfall@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary above this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Orbfall is a small first-person target-shooting game. You fly freely through
a closed cubic arena and shoot 130 drifting ellipsoid targets against a
60-second clock, with a pistol at first, a shotgun from 50 points and a
machine gun from 100, while your score drains one point every second.
.
It draws with fixed-function OpenGL; without a graphics card it runs on
Mesa's software renderer at one to a few frames a second during a game.")

# A source tarball leaves out build trees and the repository itself.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/out/" "\\\\.swp$")

include(CPack)
