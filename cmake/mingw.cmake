# Cross build for Windows with Debian's mingw-w64 (posix threads), run under
# Wine. Included by the toolchain file of each architecture, which sets
# CMAKE_SYSTEM_PROCESSOR and KELMO_MINGW_PREFIX first.
set(CMAKE_SYSTEM_NAME Windows)

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
