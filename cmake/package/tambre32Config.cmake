# tambre32 for a driver project: find_package(tambre32 CONFIG REQUIRED), then link
# tambre32::tambre32. The prefix may hold the x64 and the x86 build; the consuming
# project's pointer size picks one. Sets tambre32_ARCHITECTURE (x64 or x86) and
# tambre32_TYPE_LIBRARY (the codriver.tlb of that architecture) and
# tambre32_REGISTRATION_TEMPLATE (codriver.reg): a driver carries both as resources.
get_filename_component(_tambre32_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

if(NOT WIN32)
  set(tambre32_FOUND FALSE)
  set(tambre32_NOT_FOUND_MESSAGE "tambre32 is a Windows DLL; configure the project with a Windows compiler")
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(tambre32_ARCHITECTURE x64)
else()
  set(tambre32_ARCHITECTURE x86)
endif()

set(_tambre32_dll "${_tambre32_prefix}/bin/${tambre32_ARCHITECTURE}/tambre32.dll")
set(_tambre32_implib "${_tambre32_prefix}/lib/${tambre32_ARCHITECTURE}/libtambre32.dll.a")
foreach(_tambre32_file IN ITEMS "${_tambre32_dll}" "${_tambre32_implib}" "${_tambre32_prefix}/include/tambre32.h")
  if(NOT EXISTS "${_tambre32_file}")
    set(tambre32_FOUND FALSE)
    set(tambre32_NOT_FOUND_MESSAGE
        "this tambre32 package holds no ${tambre32_ARCHITECTURE} build: ${_tambre32_file} is missing")
    return()
  endif()
endforeach()
set(tambre32_TYPE_LIBRARY "${_tambre32_prefix}/bin/${tambre32_ARCHITECTURE}/codriver.tlb")
set(tambre32_REGISTRATION_TEMPLATE "${_tambre32_prefix}/share/tambre32/codriver.reg")

if(NOT TARGET tambre32::tambre32)
  add_library(tambre32::tambre32 SHARED IMPORTED)
  # The automation headers declare COM interfaces and BSTR helpers: a caller of them
  # links the COM libraries too.
  set_target_properties(tambre32::tambre32 PROPERTIES
    IMPORTED_LOCATION "${_tambre32_dll}"
    IMPORTED_IMPLIB "${_tambre32_implib}"
    INTERFACE_INCLUDE_DIRECTORIES "${_tambre32_prefix}/include"
    INTERFACE_LINK_LIBRARIES "ole32;oleaut32;uuid")
endif()
unset(_tambre32_dll)
unset(_tambre32_implib)
unset(_tambre32_file)
unset(_tambre32_prefix)
