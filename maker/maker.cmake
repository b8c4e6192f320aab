# kelmoCM: the maker window (maker/window.cmake) and browse, make and the
# shell link (maker/make.cmake), each a static library, linked into one program.
# Each piece file appends its sources to KELMO_MAKER_SOURCES.
set(KELMO_MAKER_SOURCES maker/browse_and_make.cpp)
include(${CMAKE_SOURCE_DIR}/maker/window.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/maker/make.cmake OPTIONAL)
list(REMOVE_DUPLICATES KELMO_MAKER_SOURCES)

add_library(kelmo_maker_win32 STATIC ${KELMO_MAKER_SOURCES})
target_link_libraries(kelmo_maker_win32 PUBLIC kelmo_common_win32 comctl32 comdlg32 shell32 ole32
                      uuid gdi32 user32)

if(EXISTS ${CMAKE_SOURCE_DIR}/maker/main.cpp)
  add_executable(kelmoCM WIN32 maker/main.cpp maker/kelmoCM.rc common/terminate_handler.cpp)
  kelmo_version_resource(kelmoCM kelmoCM "Kelmo Command line Maker" "Kelmo command line and shortcut maker")
  target_link_libraries(kelmoCM PRIVATE kelmo_maker_win32)
  target_link_options(kelmoCM PRIVATE ${KELMO_WIN_PROGRAM_LINK_FLAGS})
endif()
