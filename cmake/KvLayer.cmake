# kv_add_layer(<target> [RECURSE]): the library of the folder it is called from, one layer of
# the engine: every source there, with each system's own files picked for the system built
# for (*Posix.cpp elsewhere, *Windows.cpp and *Windows.h on Windows), our warnings on.
function(kv_add_layer target)
    cmake_parse_arguments(layer "RECURSE" "" "" ${ARGN})
    if(layer_RECURSE)
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    else()
        file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    endif()
    if(WIN32)
        list(FILTER sources EXCLUDE REGEX "Posix\\.cpp$")
    else()
        list(FILTER sources EXCLUDE REGEX "Windows\\.(cpp|h)$")
    endif()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
    kv_enable_warnings(${target})
endfunction()
