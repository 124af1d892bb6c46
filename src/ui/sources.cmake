list(APPEND TAMBRE_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/shared_image_list.cpp
     ${CMAKE_CURRENT_LIST_DIR}/timespec_dialog_win32.cpp)
