set(TAMBRE_AREA_USES sys res frame)
# Windows version queries
list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/version_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_queries.cpp)
# On-line help
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/help_request.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/html_help_binding_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_win32.cpp)
# Waits with a live message loop, the microsecond clock and the exit wait
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/hr_time_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/waits_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exit_wait_win32.cpp)
