# kelmoCM: the maker window and its list box adapter, browse and make, the
# shell link object, and the program itself.
add_library(kelmo_maker_win32 STATIC
  maker/win/main_window.cpp
  maker/win/maker_form.cpp
  maker/win/item_handlers.cpp
  maker/win/dropped_files.cpp
  maker/win/list_box_store.cpp
  maker/win/entry_menu.cpp
  maker/win/browse_and_make.cpp
  maker/win/make_platform.cpp
  maker/win/maker_boxes.cpp
  maker/win/name_prompt.cpp
  maker/win/shell_link.cpp
  maker/win/shell_link_classic.cpp
  maker/win/shortcut_save.cpp
  maker/win/open_platform.cpp
)
target_link_libraries(kelmo_maker_win32 PUBLIC kelmo_common_win32 comctl32 comdlg32 shell32 ole32
                      uuid gdi32 user32)

add_executable(kelmoCM WIN32 maker/win/main.cpp maker/win/kelmoCM.rc common/win/terminate_handler.cpp
               common/win/library_throws.cpp)
kelmo_version_resource(kelmoCM kelmoCM "Kelmo Command line Maker" "Kelmo command line and shortcut maker")
target_link_libraries(kelmoCM PRIVATE kelmo_maker_win32)
target_link_options(kelmoCM PRIVATE ${KELMO_WIN_PROGRAM_LINK_FLAGS})
# windres records no dependencies: rebuild the resources when what they embed changes.
set_source_files_properties(maker/win/kelmoCM.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/maker/win/kelmoCM.manifest;${CMAKE_SOURCE_DIR}/maker/win/kelmoCM.ico")
