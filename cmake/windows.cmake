# Cross build: the three programs, their Win32 layer, and the tests that run under Wine.

# Small static GUI programs: they import system DLLs only.
set(KELMO_WIN_COMPILE_FLAGS -Os -ffunction-sections -fdata-sections -DWIN32_LEAN_AND_MEAN
    -DNOMINMAX -D_WIN32_WINNT=0x0601 -DWINVER=0x0601
    "$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${CMAKE_SOURCE_DIR}/cmake/compact_strings.h>")
set(KELMO_WIN_PROGRAM_LINK_FLAGS -mwindows -s -Wl,--gc-sections)
add_compile_options(${KELMO_WIN_COMPILE_FLAGS})
# kelmo_portable was created before this file ran, so the directory's options
# above do not reach it; without its own sections the linker keeps all of it.
target_compile_options(kelmo_portable PRIVATE ${KELMO_WIN_COMPILE_FLAGS})
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_BINARY_DIR}/generated")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Wine runs every cross-compiled test through one wrapper that holds the
# prefix, locale and debug settings; it initialises the prefix on first use.
# Each architecture has its own prefix and loader: Debian's `wine` wrapper
# picks the 32-bit loader whenever it is installed, so the x64 twin calls the
# 64-bit loader directly.
set(KELMO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KELMO_WINE_ARCH win64)
  set(KELMO_WINE_LOADER /usr/lib/wine/wine64)
else()
  set(KELMO_WINE_ARCH win32)
  set(KELMO_WINE_LOADER /usr/lib/wine/wine)
endif()
# Off where the host cannot run this architecture's Wine: the programs and
# tests are still built, but ctest lists only the checks that read files.
option(KELMO_WINE_TESTS "Register the tests that run under Wine" ON)
# The Wine user name (its profile folder) for this build's prefix; empty: the Unix USER.
set(KELMO_WINE_USER "" CACHE STRING "Wine user name of this build's prefix (empty: USER)")
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

enable_language(RC)

# Version resource of one program: `name` is the file's base name.
function(kelmo_version_resource target name product description)
  set(KELMO_RC_NAME ${name})
  set(KELMO_RC_PRODUCT ${product})
  set(KELMO_RC_DESCRIPTION ${description})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${CMAKE_BINARY_DIR}/generated/${name}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/generated/${name}_version.rc)
endfunction()

add_library(kelmo_common_win32 STATIC
  common/win/error_msg.cpp
  common/win/win_text.cpp
)
target_link_libraries(kelmo_common_win32 PUBLIC kelmo_portable)

add_library(kelmo_launcher_win32 STATIC
  launcher/win/launcher_window.cpp
  launcher/win/launch_platform.cpp
  launcher/win/process_control.cpp
  launcher/win/followed_program.cpp
  launcher/win/running_processes.cpp
  launcher/win/shell_start_in_job.cpp
)
target_link_libraries(kelmo_launcher_win32 PUBLIC kelmo_common_win32 shell32 ole32 user32 gdi32)

# windres records no dependencies: rebuild the resources when what they embed changes.
set_source_files_properties(launcher/win/kelmoPro.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/launcher/win/kelmoPro.manifest;${CMAKE_SOURCE_DIR}/launcher/win/kelmoPro.ico")
add_executable(kelmoPro WIN32 launcher/win/main.cpp launcher/win/kelmoPro.rc common/win/terminate_handler.cpp
               common/win/library_throws.cpp)
kelmo_version_resource(kelmoPro kelmoPro "KelmoPro" "Kelmo Pro group launcher")
target_link_libraries(kelmoPro PRIVATE kelmo_launcher_win32)
target_link_options(kelmoPro PRIVATE ${KELMO_WIN_PROGRAM_LINK_FLAGS})

# kelmo.exe, the standard launcher: the launcher's shell start without its
# window or its run, and without libstdc++'s prebuilt exception texts.
set_source_files_properties(launcher/win/kelmo.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/launcher/win/kelmo.manifest;${CMAKE_SOURCE_DIR}/launcher/win/kelmo.ico")
add_executable(kelmo WIN32 launcher/win/standard_launcher_main.cpp launcher/win/kelmo.rc
               common/win/terminate_handler.cpp common/win/library_throws.cpp)
kelmo_version_resource(kelmo kelmo "Kelmo" "Kelmo standard group launcher")
target_link_libraries(kelmo PRIVATE kelmo_launcher_win32)
target_link_options(kelmo PRIVATE ${KELMO_WIN_PROGRAM_LINK_FLAGS})

include(${CMAKE_SOURCE_DIR}/maker/win/maker.cmake)

# GoogleTest from Debian's sources, compiled with mingw.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

include(${CMAKE_SOURCE_DIR}/tests/wine/wine_tests.cmake)
include(${CMAKE_SOURCE_DIR}/bench/bench.cmake)
include(${CMAKE_SOURCE_DIR}/tools/tools.cmake)
# The release is the 32-bit build: its zip and the checks of the shipped
# files (they read the files and run nothing) belong to that build alone.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  include(${CMAKE_SOURCE_DIR}/cmake/package.cmake)
endif()
