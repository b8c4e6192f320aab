# Wine tests of the shell link object, the name prompt, browse and make, and
# the road from the maker's shortcut to the launcher.

add_library(kelmo_shortcut_file_support STATIC tests/wine/shortcut_file.cpp)
target_link_libraries(kelmo_shortcut_file_support PUBLIC kelmo_common_win32 shell32 ole32 uuid)

kelmo_wine_test(kelmo_make_wine_tests
  tests/wine/shell_link_wine_test.cpp
)
target_link_libraries(kelmo_make_wine_tests PRIVATE kelmo_maker_win32 kelmo_shortcut_file_support)
