# Windows version queries
list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/version_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_queries.cpp)
# On-line help
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/help_request.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/html_help_binding_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_win32.cpp)
