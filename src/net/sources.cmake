set(TAMBRE_AREA_USES sys frame)
list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ipv4_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/busy_flag.cpp
  ${CMAKE_CURRENT_LIST_DIR}/adapter_list.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ip_helper_binding_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/adapter_chain_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/adapter_exports_win32.cpp)
