list(APPEND TAMBRE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_posix.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_win32.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/hr_clock.cpp)
# Waits with a live message loop, and the microsecond clock
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/hr_time.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_pump.cpp
  ${CMAKE_CURRENT_LIST_DIR}/waits.cpp)
