set(TAMBRE_AREA_USES sys res time)
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_text.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/message_out_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_boxes_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sys_error_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assert_dbg_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/enable_dlg_item_win32.cpp)
# Automation helpers
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_time.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ole_binding_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ole_date_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/automation_text_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_time_exports_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_moniker_win32.cpp)
# Host window services
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/host_window_win32.cpp)
