# What both MinGW-w64 toolchain files share: the compilers of the posix thread model for
# SPX_MINGW_PREFIX, and the target's own libraries and headers only.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${SPX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SPX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SPX_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${SPX_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${SPX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every test program runs under Wine of its architecture on a virtual display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
