# Install rules and the Debian package.
include(GNUInstallDirs)

set(ORBFALL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# Debian keeps games in /usr/games (under the prefix here), with their manual pages in section 6.
install(TARGETS orbfall RUNTIME DESTINATION games)
install(FILES ${ORBFALL_PACKAGING_DIR}/orbfall.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORBFALL_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orbfall)

# The software-centre listing, named after its id as AppStream expects. Its release date is the
# changelog's, turned from "Mon, 07 Dec 2026 ..." into 2026-12-07.
set(ORBFALL_APPSTREAM_ID org.example.orbfall)
file(STRINGS ${ORBFALL_PACKAGING_DIR}/changelog.in signoff REGEX "^ -- " LIMIT_COUNT 1)
if(NOT signoff MATCHES ",  *([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog.in: no date in the sign-off line '${signoff}'")
endif()
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1")
string(LENGTH "${month}" digits)
if(digits EQUAL 1)
  set(month 0${month})
endif()
set(ORBFALL_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})
configure_file(${ORBFALL_PACKAGING_DIR}/orbfall.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/${ORBFALL_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${ORBFALL_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Icon theme sizes, rendered from the SVG at build time so the two cannot disagree.
set(ORBFALL_ICON_SIZES 48 64 128 256)
find_program(ORBFALL_RSVG_CONVERT rsvg-convert)
if(ORBFALL_RSVG_CONVERT)
  set(icons)
  foreach(size IN LISTS ORBFALL_ICON_SIZES)
    set(icon ${CMAKE_CURRENT_BINARY_DIR}/icons/orbfall-${size}.png)
    add_custom_command(
      OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons
      COMMAND ${ORBFALL_RSVG_CONVERT} -w ${size} -h ${size} -o ${icon}
              ${ORBFALL_PACKAGING_DIR}/icons/orbfall.svg
      DEPENDS ${ORBFALL_PACKAGING_DIR}/icons/orbfall.svg
      VERBATIM)
    list(APPEND icons ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME orbfall.png)
  endforeach()
  add_custom_target(orbfall_icons ALL DEPENDS ${icons})
else()
  message(STATUS "rsvg-convert not found (package librsvg2-bin): installing the SVG icon only")
endif()
install(FILES ${ORBFALL_PACKAGING_DIR}/icons/orbfall.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian wants the manual page and the changelog compressed; -n keeps time stamps out.
configure_file(${ORBFALL_PACKAGING_DIR}/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
find_program(ORBFALL_GZIP gzip)
if(ORBFALL_GZIP)
  set(manpage ${CMAKE_CURRENT_BINARY_DIR}/orbfall.6.gz)
  set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
  add_custom_command(
    OUTPUT ${manpage}
    COMMAND ${CMAKE_COMMAND} -E copy ${ORBFALL_PACKAGING_DIR}/orbfall.6
            ${CMAKE_CURRENT_BINARY_DIR}/orbfall.6
    COMMAND ${ORBFALL_GZIP} -9nf ${CMAKE_CURRENT_BINARY_DIR}/orbfall.6
    DEPENDS ${ORBFALL_PACKAGING_DIR}/orbfall.6
    COMMENT "Compressing the manual page"
    VERBATIM)
  add_custom_command(
    OUTPUT ${changelog}
    COMMAND ${ORBFALL_GZIP} -9nkf ${CMAKE_CURRENT_BINARY_DIR}/changelog
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog
    COMMENT "Compressing the changelog"
    VERBATIM)
  add_custom_target(orbfall_manpage ALL DEPENDS ${manpage} ${changelog})
else()
  set(manpage ${ORBFALL_PACKAGING_DIR}/orbfall.6)
  set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog)
endif()
install(FILES ${manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orbfall)

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
