list(APPEND TAMBRE_CORE_SOURCES
     ${CMAKE_CURRENT_LIST_DIR}/calendar.cpp
     ${CMAKE_CURRENT_LIST_DIR}/zone_state.cpp
     ${CMAKE_CURRENT_LIST_DIR}/local_time.cpp
     ${CMAKE_CURRENT_LIST_DIR}/time_exports.cpp
     ${CMAKE_CURRENT_LIST_DIR}/tmsmap.cpp)
