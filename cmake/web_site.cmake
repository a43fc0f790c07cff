# The game as a page: build/web/site/ (index.html, orbfall.js, orbfall.wasm, favicon.png), its
# zip with index.html at the top for a static host or a game site's upload, and orbfall.html,
# the whole game in one file that plays from disk.
set(ORBFALL_WEB_DIR ${PROJECT_SOURCE_DIR}/src/app/web)
set(ORBFALL_SITE_DIR ${PROJECT_BINARY_DIR}/site)
set(ORBFALL_WEB_ZIP ${PROJECT_BINARY_DIR}/orbfall-${PROJECT_VERSION}-web.zip)
find_program(ORBFALL_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ORBFALL_BASE64 base64 REQUIRED)

# Only what a page needs: no file system, no Node, memory of a fixed size (the game allocates
# all it needs at the start), nothing printed but errors. noExitRuntime stays among what the
# page may hand in: Emscripten 3.1.69 keeps the runtime alive after main only through it, and
# without it ends the runtime after the main loop's first pass, so the title screen stays up
# and no key starts a game.
set(ORBFALL_PAGE_LINK_OPTIONS
  -sENVIRONMENT=web -sFILESYSTEM=0 -sEXIT_RUNTIME=0 -sMALLOC=emmalloc
  -sINCOMING_MODULE_JS_API=canvas,noExitRuntime,noInitialRun,print,printErr)

set_target_properties(orbfall PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ORBFALL_SITE_DIR})
target_link_options(orbfall PRIVATE ${ORBFALL_PAGE_LINK_OPTIONS})

# The same program with its wasm inside its script.
add_executable(orbfall_single ${PROJECT_SOURCE_DIR}/src/app/main_web.cpp)
target_link_libraries(orbfall_single PRIVATE orbfall_core orbfall_clock)
orbfall_target_options(orbfall_single)
target_link_options(orbfall_single PRIVATE ${ORBFALL_PAGE_LINK_OPTIONS} -sSINGLE_FILE=1)
set_target_properties(orbfall_single PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/single OUTPUT_NAME orbfall)

set(favicon ${ORBFALL_SITE_DIR}/favicon.png)
set(favicon_text ${PROJECT_BINARY_DIR}/single/favicon.base64)
set(template ${ORBFALL_WEB_DIR}/index.html.in)
set(page_script ${PROJECT_SOURCE_DIR}/cmake/web_page.cmake)
add_custom_command(
  OUTPUT ${favicon} ${favicon_text}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORBFALL_SITE_DIR} ${PROJECT_BINARY_DIR}/single
  COMMAND ${ORBFALL_RSVG_CONVERT} -w 64 -h 64 -o ${favicon}
          ${PROJECT_SOURCE_DIR}/packaging/icons/orbfall.svg
  COMMAND ${ORBFALL_BASE64} -w 0 ${favicon} > ${favicon_text}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/icons/orbfall.svg
  VERBATIM)
add_custom_command(
  OUTPUT ${ORBFALL_SITE_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${template} -DOUTPUT=${ORBFALL_SITE_DIR}/index.html
          -DSCRIPT=orbfall.js -DFAVICON=${favicon} -P ${page_script}
  DEPENDS ${template} ${page_script}
  VERBATIM)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/orbfall.html
  COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${template} -DOUTPUT=${PROJECT_BINARY_DIR}/orbfall.html
          -DSCRIPT=$<TARGET_FILE:orbfall_single> -DFAVICON=${favicon_text} -DINLINE=ON
          -P ${page_script}
  DEPENDS ${template} ${page_script} orbfall_single ${favicon_text}
  VERBATIM)
set(site_files index.html orbfall.js orbfall.wasm favicon.png)
add_custom_command(
  OUTPUT ${ORBFALL_WEB_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${ORBFALL_WEB_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${ORBFALL_WEB_ZIP} --format=zip ${site_files}
  WORKING_DIRECTORY ${ORBFALL_SITE_DIR}
  DEPENDS orbfall ${ORBFALL_SITE_DIR}/index.html ${favicon}
  VERBATIM)
add_custom_target(orbfall_page ALL
  DEPENDS ${ORBFALL_SITE_DIR}/index.html ${favicon} ${ORBFALL_WEB_ZIP}
          ${PROJECT_BINARY_DIR}/orbfall.html)
