# Cross-builds the Windows program with mingw-w64 on Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TESSARLINE_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model: its C++ library has std::mutex and std::thread, which GoogleTest
# needs. The threads library is linked statically like the rest.
set(CMAKE_C_COMPILER ${TESSARLINE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSARLINE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSARLINE_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TESSARLINE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One file that needs nothing installed beside it, and only the code it uses from the
# statically linked libraries.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
# Tests of the cross build run under Wine, in a private prefix kept in the build folder (or the
# throw-away one `make test` gives through TESSARLINE_WINEPREFIX).
set(CMAKE_CROSSCOMPILING_EMULATOR
  ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-env.sh run ${CMAKE_BINARY_DIR}/wine-prefix)
