set(TAMBRE_AREA_USES sys res frame)
list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/number_prefix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/comstr_scan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/comstr_open_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/comstr_dialog_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/comstr_composer.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/line_settings_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/csio_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/csio_workers_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/received_bytes_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/com_port_list_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_dialog_win32.cpp)
