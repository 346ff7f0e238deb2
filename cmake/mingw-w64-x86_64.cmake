# Cross-builds for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64-posix), linking
# the C and C++ runtime statically so that each program is one .exe that needs no DLL of the
# compiler's. Where Wine is installed, the programs and tests run under it, in a Wine prefix of
# the build's own (WINE_PREFIX), whose server tests/prerequisites.cmake starts.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

find_program(WINE_EXECUTABLE wine)
find_program(WINESERVER_EXECUTABLE wineserver)
if(WINE_EXECUTABLE AND WINESERVER_EXECUTABLE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_COMMAND} -E env WINEPREFIX=${WINE_PREFIX} WINEDEBUG=-all ${WINE_EXECUTABLE})
endif()
