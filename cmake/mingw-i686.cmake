# Cross-compiles for 32-bit Windows with the MinGW-w64 i686 compilers of the posix thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SPX_ARCH x86)

set(SPX_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${SPX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SPX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SPX_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${SPX_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${SPX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every test program runs under 32-bit Wine on a virtual display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
