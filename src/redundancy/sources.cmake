set(TAMBRE_AREA_USES sys res frame net)
list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/datagram.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_logic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_section.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/winsock_channel_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/redundancy_link_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/machine_settings_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_dialog_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/status_dialog_win32.cpp)
