# The maker window: frmMain, its control table and the list box adapter.
list(APPEND KELMO_MAKER_SOURCES
  maker/main_window.cpp
  maker/list_box_store.cpp
)
