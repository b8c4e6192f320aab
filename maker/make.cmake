# Browse, make and the shell link object: appended to the maker's sources.
list(APPEND KELMO_MAKER_SOURCES
  maker/browse_and_make.cpp
  maker/make_platform_win32.cpp
  maker/name_prompt.cpp
  maker/shell_link.cpp
  maker/shortcut_save.cpp
  maker/shortcut_open_win32.cpp
)
