# find_package(SPXHK110 CONFIG) for a host built with CMake: the package folder (or the install
# tree of SPXHK110's own build) on CMAKE_PREFIX_PATH gives the imported target SPXHK110::SPXHK110
# of the architecture being built (x86/ or x64/ beside this folder, by pointer size): the header's
# folder, the import library that fits the linker and SPXHK110.dll as its location, so that
# $<TARGET_RUNTIME_DLLS:your_program> names the DLL to copy beside your program.

get_filename_component(_spx_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_spx_arch x64)
else()
    set(_spx_arch x86)
endif()

# Microsoft's linker, and clang in either of its Microsoft modes, take SPXHK110.lib; MinGW's
# linker (GCC, or clang for a MinGW target) takes libSPXHK110.dll.a.
if(MSVC OR CMAKE_C_SIMULATE_ID STREQUAL "MSVC" OR CMAKE_CXX_SIMULATE_ID STREQUAL "MSVC")
    set(_spx_implib "${_spx_root}/${_spx_arch}/SPXHK110.lib")
else()
    set(_spx_implib "${_spx_root}/${_spx_arch}/libSPXHK110.dll.a")
endif()

set(_spx_missing "")
foreach(_spx_file "${_spx_root}/${_spx_arch}/SPXHK110.dll" "${_spx_implib}"
                  "${_spx_root}/include/spxhk110.h")
    if(NOT EXISTS "${_spx_file}")
        list(APPEND _spx_missing "${_spx_file}")
    endif()
endforeach()
if(_spx_missing)
    set(SPXHK110_FOUND FALSE)
    set(SPXHK110_NOT_FOUND_MESSAGE
        "the ${_spx_arch} build of SPXHK110 is not in ${_spx_root}: missing ${_spx_missing}")
    return()
endif()

if(NOT TARGET SPXHK110::SPXHK110)
    add_library(SPXHK110::SPXHK110 SHARED IMPORTED)
    set_target_properties(SPXHK110::SPXHK110 PROPERTIES
        IMPORTED_LOCATION "${_spx_root}/${_spx_arch}/SPXHK110.dll"
        IMPORTED_IMPLIB "${_spx_implib}"
        INTERFACE_INCLUDE_DIRECTORIES "${_spx_root}/include")
endif()
set(SPXHK110_ARCH ${_spx_arch})
unset(_spx_root)
unset(_spx_arch)
unset(_spx_implib)
unset(_spx_missing)
unset(_spx_file)
