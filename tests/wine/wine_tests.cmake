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
set(KELMO_WINE_TEST_PROPERTIES TIMEOUT 120)

# Adds a GoogleTest program whose tests are listed under Wine at test time.
function(kelmo_wine_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE kelmo_wine_test_support gtest_main)
  add_dependencies(${name} probe kelmoPro desktop_keeper)
  if(TARGET kelmoCM)
    add_dependencies(${name} kelmoCM)
  endif()
  gtest_discover_tests(${name} TEST_PREFIX "wine." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES ${KELMO_WINE_TEST_PROPERTIES})
endfunction()

kelmo_wine_test(kelmo_launcher_wine_tests
  tests/wine/launcher_wine_test.cpp
  tests/wine/process_control_wine_test.cpp
  tests/wine/error_msg_wine_test.cpp
  tests/wine/launcher_hardening_wine_test.cpp
)
target_link_libraries(kelmo_launcher_wine_tests PRIVATE kelmo_launcher_win32)

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/wine/maker_tests.cmake)
  include(${CMAKE_SOURCE_DIR}/tests/wine/maker_tests.cmake)
endif()
include(${CMAKE_SOURCE_DIR}/tests/wine/make_tests.cmake OPTIONAL)
