set(TAMBRE_AREA_USES sys locale time)
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/string_utils.cpp)
list(APPEND TAMBRE_CORE_SOURCES
     ${CMAKE_CURRENT_LIST_DIR}/hex_text.cpp
     ${CMAKE_CURRENT_LIST_DIR}/url_encoding.cpp
     ${CMAKE_CURRENT_LIST_DIR}/code_page_text.cpp
     ${CMAKE_CURRENT_LIST_DIR}/crc16.cpp
     ${CMAKE_CURRENT_LIST_DIR}/crc32.cpp
     ${CMAKE_CURRENT_LIST_DIR}/crc32_clmul.cpp
     ${CMAKE_CURRENT_LIST_DIR}/des_cipher.cpp
     ${CMAKE_CURRENT_LIST_DIR}/rc4_cipher.cpp
     ${CMAKE_CURRENT_LIST_DIR}/crypt_data.cpp
     ${CMAKE_CURRENT_LIST_DIR}/double_compare.cpp
     ${CMAKE_CURRENT_LIST_DIR}/dbf_value.cpp
     ${CMAKE_CURRENT_LIST_DIR}/db_text.cpp
     ${CMAKE_CURRENT_LIST_DIR}/tag_name.cpp)
list(APPEND TAMBRE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/fixed_point.cpp ${CMAKE_CURRENT_LIST_DIR}/float_text.cpp
     ${CMAKE_CURRENT_LIST_DIR}/float_scan.cpp ${CMAKE_CURRENT_LIST_DIR}/float_text_exports.cpp)
