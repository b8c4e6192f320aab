# Tools that take pictures of the maker under Wine (not tests).

# screenshot.exe "<window title>" <file.bmp>: used by ./dev run.
add_executable(screenshot WIN32 tools/screenshot.cpp)
target_compile_definitions(screenshot PRIVATE UNICODE _UNICODE)
target_link_options(screenshot PRIVATE -municode -mwindows)
target_link_libraries(screenshot PRIVATE gdi32 user32 shell32)

# The user guide's pictures (./dev shots).
add_executable(guide_screenshots tools/guide_screenshots.cpp)
target_link_libraries(guide_screenshots PRIVATE kelmo_maker_test_support gtest)
add_dependencies(guide_screenshots screenshot kelmoCM)
