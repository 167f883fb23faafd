# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 toolchain.
# The posix-thread flavour of the compiler is used because its runtime
# carries std::thread and std::mutex; it is linked statically so the game
# needs no MinGW DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PIVOTWARDEN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PIVOTWARDEN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PIVOTWARDEN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PIVOTWARDEN_MINGW_PREFIX}-windres)
set(CMAKE_AR ${PIVOTWARDEN_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${PIVOTWARDEN_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${PIVOTWARDEN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and tools that cmake runs at configure or build time go through Wine.
find_program(PIVOTWARDEN_WINE NAMES wine64 wine)
if(PIVOTWARDEN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PIVOTWARDEN_WINE})
endif()
