# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads) and runs the results under Wine.
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
# The whole Windows program builds this way: the logic layers, the Win32 platform and window, and tabulane.exe.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TABULANE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TABULANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TABULANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TABULANE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TABULANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime (libgcc, libstdc++, winpthread) is linked in, so each .exe runs on its own, under Wine too.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and other built programs run through Wine; WINEPREFIX and WINEDEBUG come from the caller's environment.
find_program(TABULANE_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH)
find_program(TABULANE_WINE NAMES wine64 wine)
if(TABULANE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TABULANE_WINE})
endif()
