# The maker's Wine tests.

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
