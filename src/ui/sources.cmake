# User interface: list controls, export and clipboard, file chooser, dialog helpers
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/item_text.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/window_class_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resource_string_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_fill_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tabs_and_columns_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared_image_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timespec_dialog_win32.cpp)
