# kelmoCM: the maker window and its list box adapter, browse and make, the
# shell link object, and the program itself.
add_library(kelmo_maker_win32 STATIC
  maker/main_window.cpp
  maker/maker_form.cpp
  maker/item_handlers.cpp
  maker/dropped_files.cpp
  maker/list_box_store.cpp
  maker/entry_menu.cpp
  maker/browse_and_make.cpp
  maker/make_platform_win32.cpp
  maker/name_prompt.cpp
  maker/shell_link.cpp
  maker/shortcut_save.cpp
  maker/shortcut_open_win32.cpp
)
target_link_libraries(kelmo_maker_win32 PUBLIC kelmo_common_win32 comctl32 comdlg32 shell32 ole32
                      uuid gdi32 user32)

add_executable(kelmoCM WIN32 maker/main.cpp maker/kelmoCM.rc common/terminate_handler.cpp)
kelmo_version_resource(kelmoCM kelmoCM "Kelmo Command line Maker" "Kelmo command line and shortcut maker")
target_link_libraries(kelmoCM PRIVATE kelmo_maker_win32)
target_link_options(kelmoCM PRIVATE ${KELMO_WIN_PROGRAM_LINK_FLAGS})
# windres records no dependencies: rebuild the resources when what they embed changes.
set_source_files_properties(maker/kelmoCM.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/maker/kelmoCM.manifest;${CMAKE_SOURCE_DIR}/maker/kelmoCM.ico")
