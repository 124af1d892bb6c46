# The string table: one source (src/res/strings.txt), generated into the .rc body, an id
# header and a C++ table for the portable core.
set(TAMBRE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${TAMBRE_GENERATED_DIR})
set(TAMBRE_STRING_SOURCE ${PROJECT_SOURCE_DIR}/src/res/strings.txt)
set(TAMBRE_STRING_TABLE_CPP ${TAMBRE_GENERATED_DIR}/string_table.cpp)
set(TAMBRE_STRING_OUTPUTS ${TAMBRE_GENERATED_DIR}/string_ids.h ${TAMBRE_GENERATED_DIR}/string_table.rc.inc
                          ${TAMBRE_STRING_TABLE_CPP})
add_custom_command(
  OUTPUT ${TAMBRE_STRING_OUTPUTS}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen_string_table.py ${TAMBRE_STRING_SOURCE}
          ${TAMBRE_GENERATED_DIR}
  DEPENDS ${TAMBRE_STRING_SOURCE} ${PROJECT_SOURCE_DIR}/tools/gen_string_table.py
  COMMENT "Generating the string table")
add_custom_target(tambre_string_table DEPENDS ${TAMBRE_STRING_OUTPUTS})
