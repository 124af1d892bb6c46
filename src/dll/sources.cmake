# The DLL entry: module instance and each area's start-up and shut-down, in load order.
set(TAMBRE_AREA_USES sys locale io net ui)
list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/dll_main_win32.cpp
     ${CMAKE_CURRENT_LIST_DIR}/runtime_release_win32.cpp)
