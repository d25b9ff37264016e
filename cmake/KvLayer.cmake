# The layers of the code, in the order cmake/layers.txt gives them (bottom first), and how
# each one's sources are found.

# kv_read_layers(<out>): every folder of cmake/layers.txt, bottom first.
function(kv_read_layers out)
    set(file "${PROJECT_SOURCE_DIR}/cmake/layers.txt")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
    file(STRINGS "${file}" lines REGEX "^[a-z_]")
    set(folders "")
    foreach(line IN LISTS lines)
        string(REGEX MATCHALL "[a-z_]+" on_line "${line}")
        list(APPEND folders ${on_line})
    endforeach()
    set(${out} ${folders} PARENT_SCOPE)
endfunction()

# kv_keep_system_sources(<list var>): each system's own files are chosen by name, everywhere:
# *Posix.cpp off Windows, *Windows.cpp and *Windows.h on Windows.
function(kv_keep_system_sources list_var)
    set(sources ${${list_var}})
    if(WIN32)
        list(FILTER sources EXCLUDE REGEX "Posix\\.cpp$")
    else()
        list(FILTER sources EXCLUDE REGEX "Windows\\.(cpp|h)$")
    endif()
    set(${list_var} ${sources} PARENT_SCOPE)
endfunction()

# kv_add_layer(<target> [RECURSE]): the library of the folder it is called from: every source
# there, with this system's own files, our warnings on.
function(kv_add_layer target)
    cmake_parse_arguments(layer "RECURSE" "" "" ${ARGN})
    if(layer_RECURSE)
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    else()
        file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    endif()
    kv_keep_system_sources(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
    kv_enable_warnings(${target})
endfunction()
