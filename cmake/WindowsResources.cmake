# SPDX-License-Identifier: GPL-3.0-or-later
# What each Windows program carries in itself: the manifest, the icon and the
# version (one resource script per program, made from data/windows/*.in), and its
# debug information split off into a file beside it, so that the one build gives
# both the stripped programs the installer ships and what a debugger needs.

set(VERSEMARK_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
set(VERSEMARK_WINDOWS_ICON ${VERSEMARK_WINDOWS_DIR}/versemark.ico)
set(VERSEMARK_RC_COMPANY "The Versemark developers")
set(VERSEMARK_RC_COMMENTS "Licence: GPL-3.0-or-later")
# The copyright line for the installer, which data/windows/versemark.nsi reads
# from the build folder it takes the programs from.
file(CONFIGURE OUTPUT ${VERSEMARK_WINDOWS_DIR}/copyright.nsh
    CONTENT "!define COPYRIGHT \"@VERSEMARK_COPYRIGHT@\"\n" @ONLY)

# The icon in every size Windows shows, drawn from the scalable artwork; without
# ImageMagick, the three sizes kept in the repository.
find_program(VERSEMARK_CONVERT convert)
set(VERSEMARK_ICON_ARTWORK ${CMAKE_SOURCE_DIR}/data/icons/hicolor/scalable/apps/versemark.svg)
if(VERSEMARK_CONVERT)
    add_custom_command(OUTPUT ${VERSEMARK_WINDOWS_ICON}
        COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/make-windows-icon.sh ${VERSEMARK_ICON_ARTWORK}
            ${VERSEMARK_WINDOWS_ICON}
        DEPENDS ${VERSEMARK_ICON_ARTWORK} ${CMAKE_SOURCE_DIR}/scripts/make-windows-icon.sh
        COMMENT "Drawing the Windows program icon"
        VERBATIM)
else()
    message(WARNING "ImageMagick's convert was not found: the Windows icon has 48, 32 and 16 pixels only")
    add_custom_command(OUTPUT ${VERSEMARK_WINDOWS_ICON}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/src/winapp/pictures/versemark.ico
            ${VERSEMARK_WINDOWS_ICON}
        DEPENDS ${CMAKE_SOURCE_DIR}/src/winapp/pictures/versemark.ico
        VERBATIM)
endif()
add_custom_target(versemark_windows_icon DEPENDS ${VERSEMARK_WINDOWS_ICON})

# versemark_windows_resources(OUTPUT_VARIABLE name "description" [NO_MANIFEST]):
# writes <name>.rc and <name>.manifest and sets OUTPUT_VARIABLE to the resource
# script, which a target adds to its sources (with add_dependencies on
# versemark_windows_icon). NO_MANIFEST leaves the manifest out of the script: a
# program without it gets the version 5 common controls.
function(versemark_windows_resources output name description)
    cmake_parse_arguments(RC "NO_MANIFEST" "" "" ${ARGN})
    set(VERSEMARK_RC_NAME ${name})
    set(VERSEMARK_RC_DESCRIPTION ${description})
    set(VERSEMARK_RC_FILE_VERSION_DOTS
        "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
    set(VERSEMARK_RC_FILE_VERSION_COMMAS
        "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
    set(VERSEMARK_RC_MANIFEST ${VERSEMARK_WINDOWS_DIR}/${name}.manifest)
    set(VERSEMARK_RC_ICON ${VERSEMARK_WINDOWS_ICON})
    if(RC_NO_MANIFEST)
        set(VERSEMARK_RC_MANIFEST_LINE "// (none)")
    else()
        set(VERSEMARK_RC_MANIFEST_LINE "1 24 \"${VERSEMARK_RC_MANIFEST}\"")
    endif()
    set(script ${VERSEMARK_WINDOWS_DIR}/${name}.rc)
    configure_file(${CMAKE_SOURCE_DIR}/data/windows/program.manifest.in ${VERSEMARK_RC_MANIFEST} @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/data/windows/program.rc.in ${script} @ONLY)
    # The resource compiler does not report the files a script names.
    set_source_files_properties(${script} PROPERTIES
        OBJECT_DEPENDS "${VERSEMARK_RC_MANIFEST};${VERSEMARK_WINDOWS_ICON}")
    set(${output} ${script} PARENT_SCOPE)
endfunction()

# versemark_windows_program(target "description"): the resources above, then,
# after each link, the debug information moved into <program>.exe.debug and the
# program stripped, with a link to that file by name and checksum.
find_program(VERSEMARK_OBJCOPY NAMES ${CMAKE_OBJCOPY} x86_64-w64-mingw32-objcopy)
function(versemark_windows_program target description)
    versemark_windows_resources(script ${target} "${description}")
    target_sources(${target} PRIVATE ${script})
    add_dependencies(${target} versemark_windows_icon)
    if(VERSEMARK_OBJCOPY)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${VERSEMARK_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}>
                $<TARGET_FILE_NAME:${target}>.debug
            COMMAND ${VERSEMARK_OBJCOPY} --strip-debug $<TARGET_FILE_NAME:${target}>
            COMMAND ${VERSEMARK_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
                $<TARGET_FILE_NAME:${target}>
            WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
            COMMENT "Splitting the debug information off ${target}"
            VERBATIM)
    endif()
endfunction()
