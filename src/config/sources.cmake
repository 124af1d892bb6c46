set(TAMBRE_AREA_USES sys res frame)
list(APPEND TAMBRE_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/reg_file_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reg_file_walk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hex_values.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/settings_store_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dlg_card_address_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/import_reg_file_win32.cpp)
# File names and directory macros
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_names.cpp)
list(APPEND TAMBRE_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_names_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/make_path_win32.cpp)
