# 32-bit Windows, the DLL the host loads. Built in every run, executed nowhere here.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TAMBRE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
