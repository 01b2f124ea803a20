# tollvane_add_plugin(<name> SOURCES <files...> [LIBRARIES <targets...>] [OUTPUT_DIRECTORY <dir>])
# A plug-in module: "<name>.so" without the "lib" prefix, so that the plug-in folder's search for
# "plugin*.so" finds it and its plug-in name (PLUGIN_NAME, defined for the sources) is the file name
# without ".so". Its symbols are hidden, those of static libraries it links too: only the entry point
# is exported, and nothing of the module binds to the program's copies or theirs to it. It includes
# the SDK as "plugin_sdk.h" and links Qt Widgets for its settings panel.
function(tollvane_add_plugin name)
    cmake_parse_arguments(ARG "" "OUTPUT_DIRECTORY" "SOURCES;LIBRARIES" ${ARGN})
    if(NOT name MATCHES "^plugin")
        message(FATAL_ERROR "tollvane_add_plugin(${name}): a plug-in module's name begins with \"plugin\"")
    endif()
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    add_library(${name} MODULE ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        SUFFIX ".so"
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    if(ARG_OUTPUT_DIRECTORY)
        set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src/platform/plugin/sdk)
    target_compile_definitions(${name} PRIVATE PLUGIN_NAME="${name}")
    target_compile_options(${name} PRIVATE ${TV_WARNINGS})
    # Every symbol the module needs is resolved when it is linked, never from the program.
    target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL -Wl,-z,defs)
    target_link_libraries(${name} PRIVATE Qt6::Widgets ${ARG_LIBRARIES})
endfunction()
