set(TAMBRE_AREA_USES sys locale)
list(APPEND TAMBRE_CORE_SOURCES
     ${CMAKE_CURRENT_LIST_DIR}/calendar.cpp
     ${CMAKE_CURRENT_LIST_DIR}/zone_state.cpp
     ${CMAKE_CURRENT_LIST_DIR}/local_time.cpp
     ${CMAKE_CURRENT_LIST_DIR}/time_exports.cpp
     ${CMAKE_CURRENT_LIST_DIR}/tmsmap.cpp
     ${CMAKE_CURRENT_LIST_DIR}/time_text.cpp
     ${CMAKE_CURRENT_LIST_DIR}/relative_time.cpp
     ${CMAKE_CURRENT_LIST_DIR}/duration_text.cpp
     ${CMAKE_CURRENT_LIST_DIR}/time_text_exports.cpp
     ${CMAKE_CURRENT_LIST_DIR}/periods.cpp
     ${CMAKE_CURRENT_LIST_DIR}/period_exports.cpp
     ${CMAKE_CURRENT_LIST_DIR}/format_pattern.cpp
     ${CMAKE_CURRENT_LIST_DIR}/format_pattern_exports.cpp
     ${CMAKE_CURRENT_LIST_DIR}/schedule_record.cpp
     ${CMAKE_CURRENT_LIST_DIR}/schedule_match.cpp)
