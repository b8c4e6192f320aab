# Wine tests of the shell link object, the name prompt, browse and make, and
# the road from the maker's shortcut to the launcher.

# Reading shortcut files and answering another thread's or process's dialogs.
add_library(kelmo_make_test_support STATIC tests/wine/shortcut_file.cpp)
target_link_libraries(kelmo_make_test_support PUBLIC kelmo_wine_test_support kelmo_common_win32
                      shell32 ole32 uuid)

kelmo_wine_test(kelmo_make_wine_tests
  tests/wine/shell_link_wine_test.cpp
  tests/wine/make_wine_test.cpp
)
target_link_libraries(kelmo_make_wine_tests PRIVATE kelmo_maker_win32 kelmo_make_test_support)

# A third party's reading of the maker's shortcuts: write_shortcut.exe writes
# them with cShellLink under Wine, lnkinfo (liblnk-utils) reads them.
add_executable(write_shortcut tests/helpers/write_shortcut.cpp)
target_link_libraries(write_shortcut PRIVATE kelmo_maker_win32)
target_link_options(write_shortcut PRIVATE -municode)
# The set-up installs lnkinfo; without it the check cannot be made, and that
# is a configuration error, not a skipped test.
find_program(KELMO_LNKINFO lnkinfo REQUIRED)
if(KELMO_WINE_TESTS)
  add_test(NAME wine.LnkinfoAgreement
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/wine/lnkinfo_agreement.sh
                   ${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:write_shortcut> ${KELMO_LNKINFO})
  set_tests_properties(wine.LnkinfoAgreement PROPERTIES ${KELMO_WINE_TEST_PROPERTIES})
endif()

# Browse, make and the road through the real kelmoCM.exe window, to kelmoPro
# and to kelmo.exe.
kelmo_wine_test(kelmo_maker_make_gui_wine_tests tests/wine/maker_make_gui_wine_test.cpp
                tests/wine/standard_launcher_wine_test.cpp)
target_link_libraries(kelmo_maker_make_gui_wine_tests PRIVATE kelmo_maker_win32
                      kelmo_maker_test_support)
kelmo_wine_test(kelmo_maker_open_wine_tests tests/wine/maker_open_wine_test.cpp)
target_link_libraries(kelmo_maker_open_wine_tests PRIVATE kelmo_maker_win32
                      kelmo_maker_test_support)
