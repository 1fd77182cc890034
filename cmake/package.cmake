# What makes the build tree installable as the package a host developer downloads
# (tools/release.sh installs both trees into one folder and adds the documents): the version
# resource of each binary, the CMake package configuration, and the install rules. Included by
# the top CMakeLists.txt after every target it installs is defined.

string(REGEX MATCH "^([0-9]+)\\.([0-9]+)\\.([0-9]+)" _spx_version "${SPX_RELEASE_VERSION}")
if(NOT _spx_version)
    message(FATAL_ERROR "SPX_RELEASE_VERSION must be MAJOR.MINOR.PATCH, not ${SPX_RELEASE_VERSION}")
endif()
set(SPX_VERSION_MAJOR ${CMAKE_MATCH_1})
set(SPX_VERSION_MINOR ${CMAKE_MATCH_2})
set(SPX_VERSION_PATCH ${CMAKE_MATCH_3})

# spx_version_resource(TARGET FILENAME DESCRIPTION DLL|APP): a version resource for the target.
function(spx_version_resource target filename description kind)
    set(SPX_RC_NAME ${target})
    set(SPX_RC_FILENAME ${filename})
    set(SPX_RC_DESCRIPTION ${description})
    if(kind STREQUAL "DLL")
        set(SPX_RC_FILETYPE VFT_DLL)
    else()
        set(SPX_RC_FILETYPE VFT_APP)
    endif()
    set(rc ${CMAKE_BINARY_DIR}/version/${target}.rc)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()

spx_version_resource(SPXHK110 SPXHK110.dll "SPXHK110 screen region selection library" DLL)
spx_version_resource(spxdemo spxdemo.exe "SPXHK110 sample host" APP)

include(CMakePackageConfigHelpers)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/SPXHK110ConfigVersion.cmake
                                 VERSION ${SPX_RELEASE_VERSION} COMPATIBILITY SameMajorVersion
                                 ARCH_INDEPENDENT)

# The install tree is the package less its documents: x86/ or x64/, include/, def/, cmake/.
install(FILES $<TARGET_FILE:SPXHK110> $<TARGET_LINKER_FILE:SPXHK110> $<TARGET_FILE:spxdemo>
        DESTINATION ${SPX_ARCH})
if(SPX_MSVC_LIB)
    install(FILES ${SPX_MSVC_LIB} DESTINATION ${SPX_ARCH})
endif()
install(FILES include/spxhk110.h DESTINATION include)
install(FILES ${SPX_DEF} DESTINATION def)
install(FILES cmake/package/SPXHK110Config.cmake ${CMAKE_BINARY_DIR}/SPXHK110ConfigVersion.cmake
        DESTINATION cmake)
