# Cross build for 32-bit Windows with Debian's mingw-w64 (posix threads), run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(KELMO_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KELMO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELMO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KELMO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELMO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything is linked statically so that the programs import system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(KELMO_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KELMO_WINE})
