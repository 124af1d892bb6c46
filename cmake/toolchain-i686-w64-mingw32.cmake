# 32-bit Windows, the DLL the host loads. Built in every run, tested under 32-bit Wine where
# that is installed.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TAMBRE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
# Where 32-bit Wine is installed, the test run runs these programs under it.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
