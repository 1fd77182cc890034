# What the package a host developer downloads needs from each build tree (tools/release.sh puts
# the two architectures together): its version, the minimal host of the guide, compiled, and the
# import library for Microsoft's linker. Included by the top CMakeLists.txt.

set(SPX_RELEASE_VERSION "0.1.0" CACHE STRING "Version in the release package's name")

# The minimal host of the guide, compiled so that it cannot rot.
add_executable(minimal_host docs/minimal_host.c)
target_include_directories(minimal_host PRIVATE include)
set_target_properties(minimal_host PROPERTIES C_STANDARD 99 C_STANDARD_REQUIRED ON)
target_compile_options(minimal_host PRIVATE -pedantic -Wall -Wextra)
target_link_libraries(minimal_host PRIVATE user32)
target_link_options(minimal_host PRIVATE -static)

# The import library for Microsoft's linker: on x86, i386 short import members that call the
# functions by their decorated names (_Name@bytes) and import them by the plain names the DLL
# exports; on x64, x86-64 members with the plain names.
find_program(SPX_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-16 llvm-dlltool-15 llvm-dlltool-14)
find_program(SPX_LLVM_READOBJ NAMES llvm-readobj llvm-readobj-16 llvm-readobj-15 llvm-readobj-14)
if(NOT SPX_LLVM_DLLTOOL OR NOT SPX_LLVM_READOBJ)
    message(STATUS "llvm-dlltool or llvm-readobj not found (tools/setup-machine.sh installs "
                   "llvm): no SPXHK110.lib and no release package")
    return()
endif()

set(SPX_MSVC_LIB ${CMAKE_BINARY_DIR}/lib/SPXHK110.lib)
add_custom_command(
    OUTPUT ${SPX_MSVC_LIB}
    COMMAND ${SPX_LLVM_DLLTOOL} -m $<IF:$<STREQUAL:${SPX_ARCH},x64>,i386:x86-64,i386> -k -d
            ${SPX_DEF} -l ${SPX_MSVC_LIB}
    DEPENDS ${SPX_DEF}
    COMMENT "Writing the import library for Microsoft's linker")
add_custom_target(msvc_import_lib ALL DEPENDS ${SPX_MSVC_LIB})
