# The maker's helper programs and Wine tests.

# screenshot.exe "<window title>" <file.bmp>: used by ./dev run.
add_executable(screenshot WIN32 tests/helpers/screenshot.cpp)
target_compile_definitions(screenshot PRIVATE UNICODE _UNICODE)
target_link_options(screenshot PRIVATE -municode -mwindows)
target_link_libraries(screenshot PRIVATE gdi32 user32 shell32)

# Helpers that start kelmoCM.exe and drive it by class and caption; the
# tests of browse and make use them too. They come with the shortcut readers.
add_library(kelmo_maker_test_support STATIC tests/wine/maker_test_support.cpp)
target_link_libraries(kelmo_maker_test_support PUBLIC kelmo_wine_test_support
                      kelmo_make_test_support)

kelmo_wine_test(kelmo_maker_window_wine_tests
  tests/wine/maker_window_wine_test.cpp
  tests/wine/maker_window_inprocess_wine_test.cpp
)
target_link_libraries(kelmo_maker_window_wine_tests PRIVATE kelmo_maker_test_support kelmo_maker_win32)
add_dependencies(kelmo_maker_window_wine_tests screenshot)
