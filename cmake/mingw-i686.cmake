# Cross-compiles for 32-bit Windows with the MinGW-w64 i686 compilers of the posix thread model.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SPX_ARCH x86)
set(SPX_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
