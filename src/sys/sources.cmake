list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/lower_table.cpp)
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/time_source.cpp)
list(APPEND TAMBRE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_posix.cpp)
list(APPEND TAMBRE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/time_source_posix.cpp)
list(APPEND TAMBRE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/locale_items_posix.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_win32.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/time_source_win32.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/locale_items_win32.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/hr_clock.cpp)
list(APPEND TAMBRE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_time_posix.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_time_win32.cpp)
# Waits with a live message loop, and the microsecond clock
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/hr_time.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_pump.cpp
  ${CMAKE_CURRENT_LIST_DIR}/waits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exit_wait.cpp)
# Shared data files (the log file)
list(APPEND TAMBRE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/shared_file_posix.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/shared_file_win32.cpp)
# Version record of the running system
list(APPEND TAMBRE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/os_version_posix.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/os_version_win32.cpp)
list(APPEND TAMBRE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/readable_file_posix.cpp)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/readable_file_win32.cpp)
