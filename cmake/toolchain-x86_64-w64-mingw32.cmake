# 64-bit Windows: built and tested under Wine (tools/wine_prefix_run.sh gives the prefix and
# the display).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAMBRE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
