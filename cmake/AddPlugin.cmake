# add_plugin(<name> EFFECT <class> HEADER <header> SOURCES <files>...)
#
# Builds the plug-in's logic once as the static library <name>_effect, which its tests link,
# and the loadable library <name> (<name>.so or <name>.dll) that exports the entry point.
set(QUORVEL_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(add_plugin name)
    cmake_parse_arguments(PLUGIN "" "EFFECT;HEADER" "SOURCES" ${ARGN})
    if(NOT PLUGIN_EFFECT OR NOT PLUGIN_HEADER)
        message(FATAL_ERROR "add_plugin(${name}) needs EFFECT and HEADER")
    endif()

    add_library(${name}_effect STATIC ${PLUGIN_SOURCES})
    target_link_libraries(${name}_effect PUBLIC quorvel_host)

    set(PLUGIN_EFFECT_CLASS ${PLUGIN_EFFECT})
    set(PLUGIN_EFFECT_HEADER ${PLUGIN_HEADER})
    set(entry ${CMAKE_CURRENT_BINARY_DIR}/${name}_entry.cpp)
    configure_file(${QUORVEL_CMAKE_DIR}/PluginEntry.cpp.in ${entry} @ONLY)

    add_library(${name} SHARED ${entry} ${QUORVEL_LOAD_HOOK_SOURCE})
    target_link_libraries(${name} PRIVATE ${name}_effect quorvel_platform)
    set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
    quorvel_export_entry_points(${name})
    set_property(GLOBAL APPEND PROPERTY QUORVEL_PLUGINS ${name})

    # A sanitizer build links the sanitizer runtimes, so it is no library to ship or check.
    if(QUORVEL_BUILD_TESTS AND NOT QUORVEL_SANITIZERS)
        # What a host sees of the library: the two entry points and system libraries only.
        add_test(NAME ${name}_exports
            COMMAND ${CMAKE_COMMAND} -E env OBJDUMP=${CMAKE_OBJDUMP} NM=${CMAKE_NM}
                bash ${PROJECT_SOURCE_DIR}/scripts/check-exports.sh $<TARGET_FILE:${name}>)
    endif()
endfunction()

# Only VSTPluginMain and main are exported, and the C++ runtime is linked in, so the library
# loads in hosts built elsewhere.
function(quorvel_export_entry_points target)
    if(WIN32)
        target_sources(${target} PRIVATE ${QUORVEL_CMAKE_DIR}/exports.def)
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    elseif(QUORVEL_SANITIZERS)
        # The sanitizer runtimes need the shared C++ runtime, and a copy of it in every
        # library would show up as a leak each time a library is unloaded.
        target_link_options(${target} PRIVATE
            -Wl,--version-script=${QUORVEL_CMAKE_DIR}/exports.map)
    else()
        target_link_options(${target} PRIVATE
            -static-libgcc -static-libstdc++ -Wl,--no-undefined -Wl,--exclude-libs,ALL
            -Wl,--version-script=${QUORVEL_CMAKE_DIR}/exports.map)
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${QUORVEL_CMAKE_DIR}/exports.map)
    endif()
endfunction()
