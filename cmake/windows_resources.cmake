# A Windows program's resources: the icon, made from the one SVG at build time as a .ico of
# 16, 32, 48 and 256 pixels, and the version information, from the project's version and the
# licence's copyright line.
set(ORBFALL_WINDOWS_ICON ${PROJECT_BINARY_DIR}/orbfall.ico)
set(ORBFALL_WINDOWS_ICON_SIZES 16 32 48 256)

find_program(ORBFALL_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ORBFALL_ICOTOOL icotool REQUIRED)

set(icon_pngs)
set(icon_commands)
foreach(size IN LISTS ORBFALL_WINDOWS_ICON_SIZES)
  set(png ${PROJECT_BINARY_DIR}/icons/orbfall-${size}.png)
  list(APPEND icon_pngs ${png})
  list(APPEND icon_commands
    COMMAND ${ORBFALL_RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
            ${PROJECT_SOURCE_DIR}/packaging/icons/orbfall.svg)
endforeach()
# The 256-pixel image stays PNG inside the .ico (-r), as Windows expects of that size.
list(GET icon_pngs -1 large_png)
list(REMOVE_AT icon_pngs -1)
add_custom_command(
  OUTPUT ${ORBFALL_WINDOWS_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons
  ${icon_commands}
  COMMAND ${ORBFALL_ICOTOOL} -c -o ${ORBFALL_WINDOWS_ICON} ${icon_pngs} -r ${large_png}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/icons/orbfall.svg
  COMMENT "Making the Windows icon"
  VERBATIM)
add_custom_target(orbfall_windows_icon DEPENDS ${ORBFALL_WINDOWS_ICON})

file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE ORBFALL_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)

# orbfall_add_windows_resources(target): the icon and version information into target.
function(orbfall_add_windows_resources target)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
  configure_file(${PROJECT_SOURCE_DIR}/src/app/resources_windows.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ORBFALL_WINDOWS_ICON})
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} orbfall_windows_icon)
endfunction()
