# tambre32.dll: the whole implementation, the resources and the export list.
set(TAMBRE_DEF ${PROJECT_SOURCE_DIR}/src/tambre32.def)
configure_file(${PROJECT_SOURCE_DIR}/src/res/version.h.in ${TAMBRE_GENERATED_DIR}/version.h @ONLY)

add_library(tambre32 SHARED ${PROJECT_SOURCE_DIR}/src/res/tambre32.rc)
# The resource compiler's include of the generated string table is not scanned.
set_target_properties(tambre32 PROPERTIES PREFIX "" OUTPUT_NAME tambre32 IMPORT_PREFIX "lib" LINKER_LANGUAGE CXX)
add_dependencies(tambre32 tambre_string_table)
# The resource compiler reports no included files: a changed string table must rebuild it.
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/res/tambre32.rc APPEND PROPERTY OBJECT_DEPENDS
             ${TAMBRE_GENERATED_DIR}/string_table.rc.inc ${PROJECT_SOURCE_DIR}/src/res/redundancy_dialogs.rc
             ${PROJECT_SOURCE_DIR}/src/res/exit_wait_dialog.rc ${PROJECT_SOURCE_DIR}/src/services/exit_wait_dialog_ids.h
             ${PROJECT_SOURCE_DIR}/src/res/sio_setup_dialog.rc ${PROJECT_SOURCE_DIR}/src/sio/setup_dialog_ids.h
             ${PROJECT_SOURCE_DIR}/src/res/schedule_dialog.rc ${PROJECT_SOURCE_DIR}/src/ui/schedule_dialog_ids.h
             ${PROJECT_SOURCE_DIR}/src/res/sort_arrows.bmp ${PROJECT_SOURCE_DIR}/src/res/bitmap_ids.h)
target_include_directories(tambre32 PRIVATE ${TAMBRE_GENERATED_DIR} ${PROJECT_SOURCE_DIR}/src/res)
target_link_libraries(tambre32 PRIVATE -Wl,--whole-archive tambre_impl -Wl,--no-whole-archive)
target_link_libraries(tambre32 INTERFACE $<TARGET_PROPERTY:tambre_impl,INTERFACE_LINK_LIBRARIES>)
target_include_directories(tambre32 INTERFACE ${PROJECT_SOURCE_DIR}/include)

if(TAMBRE_TARGET STREQUAL "win32")
  set(TAMBRE_DECORATED_DEF ${CMAKE_BINARY_DIR}/tambre32_i686.def)
  add_custom_command(
    OUTPUT ${TAMBRE_DECORATED_DEF}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen_i686_def.py ${TAMBRE_DEF} ${TAMBRE_DECORATED_DEF}
            ${TAMBRE_MINGW_TRIPLE}-nm ${TAMBRE_MINGW_TRIPLE}-objdump $<TARGET_FILE:tambre_impl>
    DEPENDS tambre_impl ${TAMBRE_DEF} ${PROJECT_SOURCE_DIR}/tools/gen_i686_def.py
    COMMENT "Deriving the decorated i686 export list")
  add_custom_target(tambre32_decorated_def DEPENDS ${TAMBRE_DECORATED_DEF})
  add_dependencies(tambre32 tambre32_decorated_def)
  set(TAMBRE_IMPLIB ${CMAKE_BINARY_DIR}/lib/libtambre32.dll.a)
  target_link_options(tambre32 PRIVATE ${TAMBRE_DECORATED_DEF} -Wl,--kill-at)
  set_target_properties(tambre32 PROPERTIES LINK_DEPENDS ${TAMBRE_DECORATED_DEF})
  # ld's own import library would carry the killed names; callers link against the
  # decorated ones, so dlltool writes it from the decorated list.
  add_custom_command(TARGET tambre32 POST_BUILD
    COMMAND ${TAMBRE_MINGW_TRIPLE}-dlltool -k -d ${TAMBRE_DECORATED_DEF} -D tambre32.dll -l ${TAMBRE_IMPLIB})
else()
  target_link_options(tambre32 PRIVATE ${TAMBRE_DEF})
  set_target_properties(tambre32 PROPERTIES LINK_DEPENDS ${TAMBRE_DEF})
endif()
