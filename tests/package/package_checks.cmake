# Packaging checks: the installed file tree, the icon sizes, the desktop entry, the manual
# page, and tools/setup where there is no apt-get. Run as `cmake -DCHECK=<name> -DSOURCE_DIR=... -DBUILD_DIR=... -P` by CTest.
# A check whose tool is missing prints "skipped:" and CTest reports it as skipped.
cmake_minimum_required(VERSION 3.16)

set(packaging ${SOURCE_DIR}/packaging)

function(fail text)
  message(FATAL_ERROR "${text}")
endfunction()

function(require_line text line)
  string(FIND "\n${text}\n" "\n${line}\n" at)
  if(at LESS 0)
    fail("orbfall.desktop lacks the line ${line}")
  endif()
endfunction()

# Width and height from a PNG's header, which always starts with the IHDR chunk.
function(png_size file width_var height_var)
  file(READ ${file} signature LIMIT 8 HEX)
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    fail("${file} is not a PNG")
  endif()
  file(READ ${file} size OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING ${size} 0 8 w)
  string(SUBSTRING ${size} 8 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  set(${width_var} ${w} PARENT_SCOPE)
  set(${height_var} ${h} PARENT_SCOPE)
endfunction()

if(CHECK STREQUAL "InstallTree")
  # A staged install into a scratch root holds exactly the files a package should ship.
  set(stage ${BUILD_DIR}/tests/package/stage)
  file(REMOVE_RECURSE ${stage})
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${stage}
            ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    fail("DESTDIR install failed (${status}):\n${output}")
  endif()
  file(GLOB_RECURSE installed RELATIVE ${stage} ${stage}/*)
  list(SORT installed)
  set(expected
    usr/games/orbfall
    usr/share/applications/orbfall.desktop
    usr/share/doc/orbfall/changelog.gz
    usr/share/doc/orbfall/copyright
    usr/share/icons/hicolor/128x128/apps/orbfall.png
    usr/share/icons/hicolor/256x256/apps/orbfall.png
    usr/share/icons/hicolor/48x48/apps/orbfall.png
    usr/share/icons/hicolor/64x64/apps/orbfall.png
    usr/share/icons/hicolor/scalable/apps/orbfall.svg
    usr/share/man/man6/orbfall.6.gz
    usr/share/metainfo/org.example.orbfall.metainfo.xml)
  if(NOT installed STREQUAL expected)
    string(REPLACE ";" "\n  " got "${installed}")
    string(REPLACE ";" "\n  " want "${expected}")
    fail("installed files differ.\nGot:\n  ${got}\nExpected:\n  ${want}")
  endif()
  if(NOT IS_DIRECTORY ${stage}/usr/games OR IS_SYMLINK ${stage}/usr/games/orbfall)
    fail("usr/games/orbfall is not a plain file")
  endif()
  # The program must be executable by everyone, and the manual page really compressed.
  execute_process(COMMAND test -x ${stage}/usr/games/orbfall RESULT_VARIABLE not_executable)
  if(not_executable)
    fail("usr/games/orbfall is not executable")
  endif()
  file(READ ${stage}/usr/share/man/man6/orbfall.6.gz magic LIMIT 2 HEX)
  if(NOT magic STREQUAL "1f8b")
    fail("orbfall.6.gz is not gzip data")
  endif()
  file(REMOVE_RECURSE ${stage})

elseif(CHECK STREQUAL "IconSizes")
  # Each theme size directory must get a picture of that size, rendered from the SVG.
  foreach(size 48 64 128 256)
    png_size(${BUILD_DIR}/icons/orbfall-${size}.png w h)
    if(NOT w EQUAL size OR NOT h EQUAL size)
      fail("orbfall-${size}.png is ${w}x${h}, not ${size}x${size}")
    endif()
  endforeach()
  file(READ ${packaging}/icons/orbfall.svg svg)
  if(NOT svg MATCHES "<svg[^>]*viewBox=\"0 0 ([0-9]+) ([0-9]+)\""
     OR NOT CMAKE_MATCH_1 EQUAL CMAKE_MATCH_2)
    fail("orbfall.svg has no square viewBox")
  endif()

elseif(CHECK STREQUAL "DesktopEntry")
  # Whole lines, compared as text: a list would split them at the semicolons.
  file(READ ${packaging}/orbfall.desktop entry)
  require_line("${entry}" "Type=Application")
  require_line("${entry}" "Exec=/usr/games/orbfall")
  require_line("${entry}" "Icon=orbfall")
  require_line("${entry}" "Terminal=false")
  require_line("${entry}" "Categories=Game;ActionGame;")
  find_program(validate desktop-file-validate)
  if(NOT validate)
    message("skipped: desktop-file-validate is not installed (package desktop-file-utils)")
    return()
  endif()
  execute_process(COMMAND ${validate} ${packaging}/orbfall.desktop
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0 OR NOT output STREQUAL "")
    fail("desktop-file-validate (${status}):\n${output}")
  endif()

elseif(CHECK STREQUAL "ManualPage")
  file(STRINGS ${packaging}/orbfall.6 headings REGEX "^\\.SH ")
  set(expected ".SH NAME" ".SH SYNOPSIS" ".SH DESCRIPTION" ".SH CONTROLS" ".SH WEAPONS"
               ".SH RULES" ".SH EXIT STATUS" ".SH FILES")
  foreach(heading IN LISTS expected)
    list(FIND headings "${heading}" at)
    if(at LESS 0)
      fail("orbfall.6 lacks the section ${heading}")
    endif()
  endforeach()
  find_program(man man)
  if(NOT man)
    message("skipped: man is not installed (package man-db)")
    return()
  endif()
  execute_process(COMMAND ${man} --warnings -l ${packaging}/orbfall.6
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE warnings)
  if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
    fail("man --warnings (${status}):\n${warnings}")
  endif()

elseif(CHECK STREQUAL "SetupWithoutApt")
  # tools/setup on a machine without apt-get or dpkg: PATH is a directory of links to every
  # command on it but those. This machine has all the suite needs, so setup must go straight
  # on; then without cmake and Xvfb and with a compiler that fails, everything is missing,
  # named in one line, status 2.
  set(bin ${BUILD_DIR}/tests/package/noapt-bin)
  file(REMOVE_RECURSE ${bin})
  file(MAKE_DIRECTORY ${bin})
  # In the shell, since command names such as "[" would upset a CMake list.
  execute_process(COMMAND bash -c [=[
    IFS=: read -ra dirs <<<"$PATH"
    for dir in "${dirs[@]}"; do
      for command in "$dir"/*; do
        name=${command##*/}
        [[ $name == apt* || $name == dpkg* || -e $1/$name ]] || ln -s "$command" "$1/$name"
      done
    done]=] links ${bin} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    fail("could not link the commands into ${bin}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env PATH=${bin} ${SOURCE_DIR}/tools/setup
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0 OR NOT output STREQUAL "")
    fail("with everything installed, tools/setup gave status ${status}:\n${output}")
  endif()
  file(REMOVE ${bin}/cmake ${bin}/Xvfb)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env PATH=${bin} CXX=false ${SOURCE_DIR}/tools/setup
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(line "tools/setup: no apt-get here; install with your package manager: a C++17 compiler, \
CMake >= 3.16 with make, GLFW >= 3.3 development files, OpenGL and GLU development files; \
for the tests GoogleTest/GoogleMock, Google Benchmark, Xvfb, the X11, XTest, Xrandr and \
Xdamage development files\n")
  if(NOT status EQUAL 2 OR NOT output STREQUAL line)
    fail("with no working compiler, tools/setup gave status ${status}:\n${output}")
  endif()
  file(REMOVE_RECURSE ${bin})

else()
  fail("unknown check '${CHECK}'")
endif()
