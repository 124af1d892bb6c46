set(TAMBRE_AREA_USES sys res time)
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_text.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/message_out.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_boxes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sys_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assert_dbg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/enable_dlg_item.cpp)
# Automation helpers
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_time.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ole_binding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ole_date.cpp
  ${CMAKE_CURRENT_LIST_DIR}/automation_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_time_exports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_moniker.cpp)
# Host window services
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/host_window.cpp)
