# Helper programs and the GoogleTest programs that run under Wine.

add_executable(probe WIN32 tests/helpers/probe.cpp)
target_compile_definitions(probe PRIVATE UNICODE _UNICODE)
# GetSystemTimePreciseAsFileTime: the probe alone needs Windows 8 headers.
target_compile_options(probe PRIVATE -U_WIN32_WINNT -D_WIN32_WINNT=0x0602)
target_link_options(probe PRIVATE -municode -mwindows)
target_link_libraries(probe PRIVATE shell32)

# Keeps the Wine desktop up between programs (started by scripts/wine-prefix).
add_executable(desktop_keeper WIN32 tests/helpers/desktop_keeper.cpp)
target_link_options(desktop_keeper PRIVATE -s)

add_library(kelmo_wine_test_support STATIC tests/wine/wine_test_support.cpp tests/wine/dialog_answerer.cpp)
target_link_libraries(kelmo_wine_test_support PUBLIC gtest)

# The environment of every Wine test: the wrapper sets the prefix and the
# locale; DISPLAY comes from the caller (./dev test starts Xvfb when unset).
# The tests share one desktop and one foreground window, so no two of them
# may run at once, whatever -j ctest is given.
set(KELMO_WINE_TEST_PROPERTIES TIMEOUT 120 RESOURCE_LOCK wine_desktop)

# Adds a GoogleTest program whose tests are listed under Wine at test time.
# Without KELMO_WINE_TESTS the program is still built (so that it compiles
# cleanly on every host) but nothing is registered.
function(kelmo_wine_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE kelmo_wine_test_support gtest_main)
  add_dependencies(${name} probe kelmoPro kelmo kelmoCM desktop_keeper)
  if(KELMO_WINE_TESTS)
    gtest_discover_tests(${name} TEST_PREFIX "wine." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         PROPERTIES ${KELMO_WINE_TEST_PROPERTIES})
  endif()
endfunction()

kelmo_wine_test(kelmo_launcher_wine_tests
  tests/wine/launcher_wine_test.cpp
  tests/wine/process_control_wine_test.cpp
  tests/wine/launcher_hardening_wine_test.cpp
  tests/wine/ansi_text_wine_test.cpp
  tests/wine/document_start_wine_test.cpp
  tests/wine/launcher_grace_wine_test.cpp
)
target_link_libraries(kelmo_launcher_wine_tests PRIVATE kelmo_launcher_win32 kelmo_make_test_support)

include(${CMAKE_SOURCE_DIR}/tests/wine/maker_tests.cmake)
include(${CMAKE_SOURCE_DIR}/tests/wine/make_tests.cmake)
