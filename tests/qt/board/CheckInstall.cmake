# Installs the build into a scratch prefix and checks what a desktop needs to list the game:
# the program, its launcher, and the icon at each size, as square PNG images of that size.
# Usage: cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

if(NOT EXISTS ${PREFIX}/bin/tessarline)
  message(FATAL_ERROR "bin/tessarline is not installed")
endif()

set(desktop ${PREFIX}/share/applications/tessarline.desktop)
file(STRINGS ${desktop} entries)
foreach(want "[Desktop Entry]" "Type=Application" "Name=Tessarline" "Exec=tessarline"
             "Icon=tessarline")
  if(NOT want IN_LIST entries)
    message(FATAL_ERROR "${desktop} lacks ${want}")
  endif()
endforeach()

foreach(size 16 32 48)
  set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/tessarline.png)
  if(NOT EXISTS ${png})
    message(FATAL_ERROR "${png} is not installed")
  endif()
  # The PNG signature, then the IHDR chunk with the width and the height as 32-bit numbers.
  file(READ ${png} header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "${png} is not a ${size} by ${size} PNG image")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
