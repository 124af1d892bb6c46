# Shared basics every area may use: no platform calls, no state.
# The native build's code page; Windows converts with its own code-page services.
list(APPEND TAMBRE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/code_page_1252.cpp)
