# Installs the build into a scratch prefix and checks what a desktop needs to list the game:
# the program, its launcher, and the icon at each size as a PNG image of that size.
# Usage: cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_QUIET)
file(STRINGS ${PREFIX}/share/applications/tessarline.desktop entries)
if(NOT rc EQUAL 0 OR NOT EXISTS ${PREFIX}/bin/tessarline OR NOT "Icon=tessarline" IN_LIST entries
   OR NOT "Exec=tessarline" IN_LIST entries)
  message(FATAL_ERROR "the program or its launcher is not installed (${rc})")
endif()
set(sizes 16 32 48)
set(hex 10 20 30)
foreach(size h IN ZIP_LISTS sizes hex)
  # The PNG signature, then the IHDR chunk with the width and the height as 32-bit numbers.
  file(READ ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/tessarline.png head LIMIT 24 HEX)
  if(NOT head STREQUAL "89504e470d0a1a0a0000000d49484452000000${h}000000${h}")
    message(FATAL_ERROR "no ${size} by ${size} icon: ${head}")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
