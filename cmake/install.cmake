# The installed package: one prefix holds both architectures, so a driver project of either
# finds it with the same CMAKE_PREFIX_PATH.
#
#   include/                         public headers (the same for both)
#   bin/x64/tambre32.dll             the DLL and its type library file (codriver.tlb)
#   lib/x64/libtambre32.dll.a        the import library
#   bin/x86/, lib/x86/               the same for i686; lib/x86/tambre32.def is the decorated
#                                    export list the i686 import library is written from
#   lib/tambre32.def                 the plain export list
#   lib/cmake/tambre32/              tambre32Config.cmake, tambre32ConfigVersion.cmake
#   share/tambre32/codriver.reg      the registration template drivers carry as a resource
#
# The package's target tambre32::tambre32 is written by hand (cmake/package/): it describes
# the delivered files only, whatever shape the build's own targets take.
include(CMakePackageConfigHelpers)

if(TAMBRE_TARGET STREQUAL "win32")
  set(TAMBRE_PACKAGE_ARCH x86)
else()
  set(TAMBRE_PACKAGE_ARCH x64)
endif()
set(TAMBRE_PACKAGE_CONFIG_DIR lib/cmake/tambre32)

install(TARGETS tambre32 COMPONENT tambre32
        RUNTIME DESTINATION bin/${TAMBRE_PACKAGE_ARCH}
        ARCHIVE DESTINATION lib/${TAMBRE_PACKAGE_ARCH})
install(FILES ${CMAKE_BINARY_DIR}/bin/codriver.tlb DESTINATION bin/${TAMBRE_PACKAGE_ARCH} COMPONENT tambre32)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ DESTINATION include COMPONENT tambre32)
install(FILES ${TAMBRE_DEF} DESTINATION lib COMPONENT tambre32)
# The registration template a driver carries as a resource beside the type library.
install(FILES ${PROJECT_SOURCE_DIR}/src/res/codriver.reg DESTINATION share/tambre32 COMPONENT tambre32)
if(TAMBRE_TARGET STREQUAL "win32")
  install(FILES ${TAMBRE_DECORATED_DEF} DESTINATION lib/x86 RENAME tambre32.def COMPONENT tambre32)
endif()

write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/tambre32ConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/package/tambre32Config.cmake
              ${CMAKE_BINARY_DIR}/package/tambre32ConfigVersion.cmake
        DESTINATION ${TAMBRE_PACKAGE_CONFIG_DIR} COMPONENT tambre32)
