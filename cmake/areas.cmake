# The library's areas as targets. Each area is an object library that sees only its own
# headers and those of the areas it declares it uses, so an include that runs against the
# layering fails to compile.
#
# src/<area>/sources.cmake lists the area's files:
#   TAMBRE_CORE_SOURCES   portable logic, every target
#   TAMBRE_POSIX_SOURCES  the platform seam for the native build
#   TAMBRE_WIN_SOURCES    the Win32 layer and the Win32 seam
# and names the areas it uses in TAMBRE_AREA_USES (direct uses; what they use comes along).
#
# The include roots: build/area_roots/<area>/<area> links to src/<area>, so "time/calendar.h"
# resolves only where the time area's root is on the path.
set(TAMBRE_AREA_ROOTS ${CMAKE_BINARY_DIR}/area_roots)

# Bottom to top; an area may use only areas listed before it.
set(TAMBRE_AREAS base res sys locale time text frame xl log net io config sio services codriver redundancy ui dll)

set(TAMBRE_AREA_TARGETS)
foreach(area IN LISTS TAMBRE_AREAS)
  set(TAMBRE_CORE_SOURCES)
  set(TAMBRE_POSIX_SOURCES)
  set(TAMBRE_WIN_SOURCES)
  set(TAMBRE_AREA_USES)
  include(${PROJECT_SOURCE_DIR}/src/${area}/sources.cmake)

  set(sources ${TAMBRE_CORE_SOURCES})
  if(WIN32)
    list(APPEND sources ${TAMBRE_WIN_SOURCES})
  else()
    list(APPEND sources ${TAMBRE_POSIX_SOURCES})
  endif()
  if(NOT sources)
    # An area with nothing to build in this target still carries its headers.
    add_library(tambre_${area} INTERFACE)
    set(scope INTERFACE)
  else()
    add_library(tambre_${area} OBJECT ${sources})
    list(APPEND TAMBRE_AREA_TARGETS tambre_${area})
    target_compile_definitions(tambre_${area} PUBLIC TAMBRE_BUILDING_LIBRARY)
    add_dependencies(tambre_${area} tambre_string_table)
    set(scope PUBLIC)
  endif()

  file(MAKE_DIRECTORY ${TAMBRE_AREA_ROOTS}/${area})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${area} ${TAMBRE_AREA_ROOTS}/${area}/${area} SYMBOLIC)
  target_include_directories(tambre_${area} ${scope} ${TAMBRE_AREA_ROOTS}/${area} ${PROJECT_SOURCE_DIR}/include)

  foreach(used IN LISTS TAMBRE_AREA_USES)
    list(FIND TAMBRE_AREAS ${used} used_rank)
    list(FIND TAMBRE_AREAS ${area} area_rank)
    if(used_rank LESS 0 OR NOT used_rank LESS area_rank)
      message(FATAL_ERROR "area ${area} uses ${used}, which is not below it")
    endif()
    target_link_libraries(tambre_${area} ${scope} tambre_${used})
  endforeach()
endforeach()

# The generated string ids belong to the resources.
target_include_directories(tambre_res PUBLIC ${TAMBRE_GENERATED_DIR})
