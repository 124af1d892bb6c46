set(TAMBRE_AREA_USES sys res frame)
# The driver automation object. Its type library is compiled from IDL with widl, completed
# by patch_typelib.py and embedded by src/res/tambre32.rc as the "TYPELIB" resource
# "CODRIVER.TLB"; a copy lies next to the built DLL as codriver.tlb.
if(WIN32)
  find_path(TAMBRE_WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  find_path(TAMBRE_STDOLE2_DIR stdole2.tlb PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
            /usr/lib/i386-linux-gnu/wine/i386-windows NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  if(TAMBRE_TARGET STREQUAL "win32")
    set(tambre_widl_arch --win32)
  else()
    set(tambre_widl_arch --win64)
  endif()
  set(TAMBRE_TYPELIB ${TAMBRE_GENERATED_DIR}/CODRIVER.TLB)
  add_custom_command(
    OUTPUT ${TAMBRE_TYPELIB} ${CMAKE_BINARY_DIR}/bin/codriver.tlb
    COMMAND ${TAMBRE_WIDL} ${tambre_widl_arch} -t -I${TAMBRE_WINE_IDL_DIR} -L${TAMBRE_STDOLE2_DIR}
            -o ${TAMBRE_GENERATED_DIR}/codriver_widl.tlb ${CMAKE_CURRENT_LIST_DIR}/tambre_types.idl
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/patch_typelib.py
            ${TAMBRE_GENERATED_DIR}/codriver_widl.tlb ${TAMBRE_TYPELIB} 170
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
    COMMAND ${CMAKE_COMMAND} -E copy ${TAMBRE_TYPELIB} ${CMAKE_BINARY_DIR}/bin/codriver.tlb
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/tambre_types.idl ${CMAKE_CURRENT_LIST_DIR}/patch_typelib.py
    COMMENT "Compiling the type library TambreTypes")
  set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/res/tambre32.rc APPEND PROPERTY OBJECT_DEPENDS ${TAMBRE_TYPELIB}
               ${PROJECT_SOURCE_DIR}/src/res/codriver.reg)
  # Listed as a source so that the library's targets wait for it.
  list(APPEND TAMBRE_WIN_SOURCES ${TAMBRE_TYPELIB})
  list(APPEND TAMBRE_WIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/codriver_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/global_heap_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host_query_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dispatch_support_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/init_records_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/class_factory_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/module_path_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/resource_file_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/server_registration_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/interface_versions_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/server_thread_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/type_info_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/properties_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/channel_maps_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/channel_map_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/channel_map_enum_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/connection_points_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/drv_dispatch_win32.cpp)
endif()
