# SPDX-License-Identifier: GPL-3.0-or-later
# Everything that makes Versemark install like any Debian program: the version
# the programs report, their manual pages, the AppStream data and icons, and the
# Debian package made by CPack (cpack -G DEB, see scripts/package.sh).

# The version both programs print for --version: the project's own. On Linux the
# programs resolve their symbols at start and keep the relocation table read-only,
# as Debian links its own programs.
foreach(program versemark versemark-cli)
    if(TARGET ${program})
        target_compile_definitions(${program} PRIVATE VERSEMARK_VERSION="${PROJECT_VERSION}")
        if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
            target_link_options(${program} PRIVATE LINKER:-z,relro,-z,now)
        endif()
    endif()
endforeach()

# Manual pages, made from the programs' --help and --version output. A cross-built
# program cannot run here, so those builds go without them.
find_program(VERSEMARK_HELP2MAN help2man)
set(VERSEMARK_MAN_SOURCE_DIR ${CMAKE_SOURCE_DIR}/data/man)
set(VERSEMARK_MAN_DIR ${CMAKE_BINARY_DIR}/man)

# versemark_man_page(program "what it is" [extra help2man arguments and dependencies])
function(versemark_man_page program name)
    cmake_parse_arguments(PAGE "" "" "ARGS;DEPENDS" ${ARGN})
    set(page ${VERSEMARK_MAN_DIR}/${program}.1)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${VERSEMARK_HELP2MAN} --no-info --section=1 --name=${name}
            --include=${VERSEMARK_MAN_SOURCE_DIR}/${program}.h2m ${PAGE_ARGS}
            --output=${page} $<TARGET_FILE:${program}>
        COMMAND gzip -9nf ${page}
        DEPENDS ${program} ${VERSEMARK_MAN_SOURCE_DIR}/${program}.h2m ${PAGE_DEPENDS}
        COMMENT "Writing the manual page ${program}(1)"
        VERBATIM)
    add_custom_target(${program}-man ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

if(CMAKE_CROSSCOMPILING)
    message(STATUS "Cross-compiling: no manual pages")
elseif(NOT VERSEMARK_HELP2MAN)
    message(WARNING "help2man not found (Debian package help2man): no manual pages")
else()
    file(MAKE_DIRECTORY ${VERSEMARK_MAN_DIR})
    set(verbs ${VERSEMARK_MAN_DIR}/versemark-cli-verbs.h2m)
    add_custom_command(OUTPUT ${verbs}
        COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/ManPageVerbs.sh $<TARGET_FILE:versemark-cli> ${verbs}
        DEPENDS versemark-cli ${CMAKE_SOURCE_DIR}/cmake/ManPageVerbs.sh
        COMMENT "Collecting the verb help texts of versemark-cli"
        VERBATIM)
    versemark_man_page(versemark-cli "match and tag MP3 files with song lyrics in a terminal"
        ARGS --include=${verbs} DEPENDS ${verbs})
    if(TARGET versemark)
        versemark_man_page(versemark "put song lyrics into MP3 files as Lyrics3 tags")
    endif()
endif()

# Desktop data: the larger icons, the scalable one and the AppStream metadata.
# (The menu entry and the 48-pixel icon are installed beside the window program.)
if(VERSEMARK_WINDOW)
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
    install(FILES ${CMAKE_SOURCE_DIR}/data/example.versemark.Versemark.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The package's change log, where Debian keeps it; its newest entry is this version.
if(NOT WIN32)
    set(changelog ${CMAKE_BINARY_DIR}/debian/changelog)
    add_custom_command(OUTPUT ${changelog}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/debian/changelog ${changelog}
        COMMAND gzip -9nf ${changelog}
        DEPENDS ${CMAKE_SOURCE_DIR}/data/debian/changelog
        VERBATIM)
    add_custom_target(versemark-changelog ALL DEPENDS ${changelog}.gz)
    install(FILES ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/versemark)
    # The licence, where Debian keeps every package's.
    install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/versemark)
endif()

# The Debian package: cpack -G DEB in a build folder.
set(CPACK_PACKAGE_NAME versemark)
set(CPACK_PACKAGE_VENDOR "The Versemark developers")
set(CPACK_PACKAGE_CONTACT "The Versemark developers <maintainers@versemark.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "put song lyrics from the Songleaf cache into MP3 files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Versemark matches the lyrics files that the lyrics downloader Songleaf keeps\n"
    "in its cache to the MP3 files of a folder, by the words of the lyrics file\n"
    "names, lets the user review and check the pairs in a window, and writes the\n"
    "lyrics into the files as Lyrics3 v2.00 tags in front of the ID3v1 block.\n"
    "Only the tail of a file changes; the audio is never moved. On request it also\n"
    "writes the lyrics as an ID3v2 lyrics frame, which makes a new copy of the\n"
    "file and puts it in place in one step.\n"
    "\n"
    "The package holds the window program versemark and versemark-cli, which\n"
    "does the same matching and tagging in a terminal.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://versemark.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)  # the release build keeps its debug data out of the package
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # versemark_VERSION_ARCH.deb
set(CPACK_GENERATOR DEB)
include(CPack)
