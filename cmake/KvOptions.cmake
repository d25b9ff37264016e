# Build-time choices: which fonts and archives get embedded, and what else is built.

option(KV_BUILD_TESTS "Build the test suite" ON)
option(KV_BUILD_BENCH "Build the benchmarks (scripts/bench.sh)" OFF)

# The product's fonts are build-time artefacts; Debian's Inter stands in by default.
set(KV_FONT_REGULAR "/usr/share/fonts/opentype/inter/Inter-Regular.otf" CACHE FILEPATH
    "Regular OpenType font embedded as SFProRoundedRegular_otf")

# Empty: generate stand-in archives at build time. A folder: embed its vst3.zip, clap.zip, aax.zip.
set(KV_PRODUCT_ARCHIVES_DIR "" CACHE PATH "Folder holding the product's own vst3.zip, clap.zip and aax.zip")

# Where the archives to embed are: the product's own, or those the build generates.
if(KV_PRODUCT_ARCHIVES_DIR)
    set(KV_ARCHIVE_DIR "${KV_PRODUCT_ARCHIVES_DIR}")
    foreach(name vst3.zip clap.zip aax.zip)
        if(NOT EXISTS "${KV_ARCHIVE_DIR}/${name}")
            message(FATAL_ERROR "KV_PRODUCT_ARCHIVES_DIR (${KV_ARCHIVE_DIR}) has no ${name}")
        endif()
    endforeach()
else()
    set(KV_ARCHIVE_DIR "${CMAKE_BINARY_DIR}/payload")
endif()

# Size of each generated stand-in plug-in module, in bytes (a real one is about 17 MB).
set(KV_PAYLOAD_MODULE_BYTES "17621288" CACHE STRING "Size of each generated plug-in module")
