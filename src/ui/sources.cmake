set(TAMBRE_AREA_USES sys res frame time)
# User interface: list controls, export and clipboard, file chooser, dialog helpers
list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/item_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_text_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_chooser_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_placement.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/window_class_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resource_string_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_fill_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tabs_and_columns_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_lists_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sort_images_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_view_smear_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_view_reader_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_export_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_clipboard_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_chooser_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_folders_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_items_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wait_cursor_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/custom_resources_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_layout_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sizeable_dialog_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/schedule_dialog_win32.cpp)
