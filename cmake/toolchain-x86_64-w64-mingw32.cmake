# 64-bit Windows, mingw-w64 with the posix thread model (std::thread, std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAMBRE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAMBRE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAMBRE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAMBRE_MINGW_TRIPLE}-windres)
set(TAMBRE_WIDL ${TAMBRE_MINGW_TRIPLE}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${TAMBRE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under Wine; tools/wine_session.sh provides the prefix and the display.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
