list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/datagram.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_logic.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/winsock_channel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/redundancy_link.cpp)
