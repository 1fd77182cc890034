# Cross-compiles for 64-bit Windows with the MinGW-w64 x86_64 compilers of the posix thread model.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SPX_ARCH x64)
set(SPX_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
