set(TAMBRE_AREA_USES sys)
list(APPEND TAMBRE_CORE_SOURCES
     ${CMAKE_CURRENT_LIST_DIR}/xl_builders.cpp
     ${CMAKE_CURRENT_LIST_DIR}/xl_records.cpp
     ${CMAKE_CURRENT_LIST_DIR}/xl_convert.cpp
     ${CMAKE_CURRENT_LIST_DIR}/xl_format_text.cpp
     ${CMAKE_CURRENT_LIST_DIR}/xl_clipboard_format.cpp)
