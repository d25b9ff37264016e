# Every archive the installer embeds passes the installer's own checks at build time: the
# directory, the layout under the one bundle, names, methods, links, and every entry inflated
# with its size and CRC-32 checked. An archive the installer would refuse fails the build,
# with the archive, the entry, the reason and the fix, instead of failing on every machine.
# The generated stand-in archives go through the same check, and then libzip's consistency
# check as a second reader.

if(CMAKE_CROSSCOMPILING)
    if(NOT KV_HOST_ARCHIVE_CHECK)
        message(FATAL_ERROR "A cross-build checks its archives with a host build's kv_archive_check: "
                            "set KV_HOST_ARCHIVE_CHECK to it (scripts/build-windows.sh does).")
    endif()
    set(kv_archive_checker "${KV_HOST_ARCHIVE_CHECK}")
    set(kv_archive_checker_depends "${KV_HOST_ARCHIVE_CHECK}")
else()
    file(GLOB kv_archive_check_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tools/archive_check/*.cpp")
    add_executable(kv_archive_check ${kv_archive_check_sources})
    # kv_messages for the words of each refusal: it and the layers below it are built before
    # kv_core, which waits for this check.
    target_link_libraries(kv_archive_check PRIVATE kv_identity kv_archive kv_messages kv_libzip)
    kv_enable_warnings(kv_archive_check)
    set_target_properties(kv_archive_check PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tools")
    set(kv_archive_checker "$<TARGET_FILE:kv_archive_check>")
    set(kv_archive_checker_depends kv_archive_check)
endif()

set(kv_archives_stamp "${CMAKE_BINARY_DIR}/archives_checked.stamp")
add_custom_command(
    OUTPUT "${kv_archives_stamp}"
    COMMAND "${kv_archive_checker}" "${KV_ARCHIVE_DIR}"
    COMMAND "${CMAKE_COMMAND}" -E touch "${kv_archives_stamp}"
    DEPENDS ${kv_archive_checker_depends} ${KV_ARCHIVES}
    COMMENT "Checking the archives to embed with the installer's own checks"
    VERBATIM)
add_custom_target(kv_archives_checked DEPENDS "${kv_archives_stamp}")
add_dependencies(kv_archives_checked kv_payload_archives)
add_dependencies(kv_core kv_archives_checked)
