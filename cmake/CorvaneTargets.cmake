# Shared settings for the project's own targets.

# Warnings are errors for our code; the engine's and the parser's headers come in as
# system headers so that their warnings stay theirs.
function(corvane_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wnon-virtual-dtor)
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        # The host and plug-ins exchange standard-library values through C-linkage exports:
        # both sides are built from one source tree with one standard library.
        target_compile_options(${target} PRIVATE -Wno-return-type-c-linkage)
    endif()
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# A plug-in: a static library with the plug-in's code (tests link it directly) and the
# MODULE that the host opens, which adds the file holding the exports. Everything but the
# five exports is hidden.
function(corvane_add_plugin name)
    cmake_parse_arguments(ARG "" "EXPORTS" "SOURCES;LIBRARIES" ${ARGN})
    set(core ${name}Core)
    add_library(${core} STATIC ${ARG_SOURCES})
    corvane_target_defaults(${core})
    target_include_directories(${core} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${core} PUBLIC ${ARG_LIBRARIES})
    set_target_properties(${core} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                             VISIBILITY_INLINES_HIDDEN ON)
    add_library(${name} MODULE ${ARG_EXPORTS})
    corvane_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${core})
    set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden
                                             VISIBILITY_INLINES_HIDDEN ON)
    # The module exports its five entry points and nothing else. Symbols of the plug-in's
    # code that the engine's libraries could bind to (library templates and inline engine
    # members of default visibility) would keep the library loaded after the host closes
    # it, and its objects would then go only at process exit, after the engine plug-ins'
    # own statics.
    target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL)
    install(TARGETS ${name} LIBRARY DESTINATION ${CORVANE_PLUGIN_INSTALL_DIR})
endfunction()
