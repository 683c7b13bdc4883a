# Everything that makes Versemark install like any Debian program.

# The version both programs print for --version: the project's own.
foreach(program versemark versemark-cli)
    if(TARGET ${program})
        target_compile_definitions(${program} PRIVATE VERSEMARK_VERSION="${PROJECT_VERSION}")
    endif()
endforeach()
