# Build-time choices: which fonts and archives get embedded, and what else is built.

option(KV_BUILD_TESTS "Build the test suite" ON)
option(KV_BUILD_BENCH "Build the benchmarks (scripts/bench.sh)" OFF)

# The product's fonts are build-time artefacts; Debian's Inter stands in by default.
set(KV_FONT_REGULAR "/usr/share/fonts/opentype/inter/Inter-Regular.otf" CACHE FILEPATH
    "Regular OpenType font embedded as SFProRoundedRegular_otf")

# Each format's archive name, read from the rows of the format table, where everything about
# a format is written once (one row a line there).
file(STRINGS "${PROJECT_SOURCE_DIR}/identity/FormatTable.h" kv_format_rows REGEX "^ *{ *\"")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/identity/FormatTable.h")
set(KV_ARCHIVE_NAMES "")
foreach(row IN LISTS kv_format_rows)
    if(NOT row MATCHES "\"([^\"]+\\.zip)\"")
        message(FATAL_ERROR "identity/FormatTable.h: no archive name in the row ${row}")
    endif()
    list(APPEND KV_ARCHIVE_NAMES "${CMAKE_MATCH_1}")
endforeach()
if(NOT KV_ARCHIVE_NAMES)
    message(FATAL_ERROR "identity/FormatTable.h: no format rows found")
endif()

# Empty: generate stand-in archives at build time. A folder: embed its archives, one for
# each format, named as the format table says (KV_ARCHIVE_NAMES).
set(KV_PRODUCT_ARCHIVES_DIR "" CACHE PATH "Folder holding the product's own archives, named as in identity/FormatTable.h")

# Where the archives to embed are: the product's own, or those the build generates.
if(KV_PRODUCT_ARCHIVES_DIR)
    set(KV_ARCHIVE_DIR "${KV_PRODUCT_ARCHIVES_DIR}")
    foreach(name IN LISTS KV_ARCHIVE_NAMES)
        if(NOT EXISTS "${KV_ARCHIVE_DIR}/${name}")
            message(FATAL_ERROR "KV_PRODUCT_ARCHIVES_DIR (${KV_ARCHIVE_DIR}) has no ${name}")
        endif()
    endforeach()
else()
    set(KV_ARCHIVE_DIR "${CMAKE_BINARY_DIR}/payload")
endif()
list(TRANSFORM KV_ARCHIVE_NAMES PREPEND "${KV_ARCHIVE_DIR}/" OUTPUT_VARIABLE KV_ARCHIVES)

# Size of each generated stand-in plug-in module, in bytes (a real one is about 17 MB).
set(KV_PAYLOAD_MODULE_BYTES "17621288" CACHE STRING "Size of each generated plug-in module")
