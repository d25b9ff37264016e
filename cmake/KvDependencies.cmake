# Every dependency is a Debian package; when one is missing, stop and name the package.

function(kv_require found package what)
    if(NOT ${found})
        message(FATAL_ERROR
            "${what} was not found. Install the Debian package(s) '${package}' "
            "(scripts/setup.sh installs everything this project needs).")
    endif()
endfunction()

find_package(JUCE 7.0.5 CONFIG QUIET)
kv_require(JUCE_FOUND "juce-modules-source juce-tools" "JUCE 7.0.5")

# Debian's JUCE carries no zlib, libpng or libjpeg of its own: link the system ones.
find_package(ZLIB QUIET)
kv_require(ZLIB_FOUND "zlib1g-dev" "zlib")

# libdeflate inflates each archive entry whole and checks its CRC-32, about three times as
# fast as zlib. Debian ships no CMake package for it: found by header and library, linked
# statically into the Windows build.
find_path(KV_LIBDEFLATE_INCLUDE_DIR libdeflate.h)
find_library(KV_LIBDEFLATE_LIBRARY NAMES deflate)
if(KV_LIBDEFLATE_INCLUDE_DIR AND KV_LIBDEFLATE_LIBRARY)
    set(KV_LIBDEFLATE_FOUND TRUE)
    add_library(kv_libdeflate INTERFACE IMPORTED)
    target_include_directories(kv_libdeflate SYSTEM INTERFACE "${KV_LIBDEFLATE_INCLUDE_DIR}")
    target_link_libraries(kv_libdeflate INTERFACE "${KV_LIBDEFLATE_LIBRARY}")
endif()
if(WIN32)
    kv_require(KV_LIBDEFLATE_FOUND "(cross-built by scripts/build-windows.sh)" "libdeflate for MinGW")
else()
    kv_require(KV_LIBDEFLATE_FOUND "libdeflate-dev" "libdeflate")
endif()

# libzip is the build's second opinion on every archive it embeds (ZIP_CHECKCONS), in the host's
# kv_archive_check only: a cross-build runs the host's, and the installer never links it.
# Found by header and library: Debian's CMake package for it needs its command-line tools too.
if(NOT CMAKE_CROSSCOMPILING)
    find_path(KV_LIBZIP_INCLUDE_DIR zip.h)
    find_library(KV_LIBZIP_LIBRARY NAMES zip)
    if(KV_LIBZIP_INCLUDE_DIR AND KV_LIBZIP_LIBRARY)
        set(KV_LIBZIP_FOUND TRUE)
        add_library(kv_libzip INTERFACE IMPORTED)
        target_include_directories(kv_libzip SYSTEM INTERFACE "${KV_LIBZIP_INCLUDE_DIR}")
        target_link_libraries(kv_libzip INTERFACE "${KV_LIBZIP_LIBRARY}")
    endif()
    kv_require(KV_LIBZIP_FOUND "libzip-dev" "libzip")
endif()

find_package(PNG QUIET)
find_package(JPEG QUIET)
if(WIN32)
    kv_require(PNG_FOUND "(cross-built by scripts/build-windows.sh)" "libpng for MinGW")
    kv_require(JPEG_FOUND "(cross-built by scripts/build-windows.sh)" "libjpeg for MinGW")
else()
    kv_require(PNG_FOUND "libpng-dev" "libpng")
    kv_require(JPEG_FOUND "libjpeg-dev" "libjpeg")
    find_package(PkgConfig QUIET)
    kv_require(PKG_CONFIG_FOUND "pkg-config" "pkg-config")
    foreach(pc freetype2 fontconfig x11 xrandr xinerama xcursor xext)
        pkg_check_modules(KV_PC_${pc} QUIET ${pc})
    endforeach()
    kv_require(KV_PC_freetype2_FOUND "libfreetype-dev" "FreeType")
    kv_require(KV_PC_fontconfig_FOUND "libfontconfig1-dev" "fontconfig")
    kv_require(KV_PC_x11_FOUND "libx11-dev" "Xlib")
    kv_require(KV_PC_xrandr_FOUND "libxrandr-dev" "XRandR")
    kv_require(KV_PC_xinerama_FOUND "libxinerama-dev" "Xinerama")
    kv_require(KV_PC_xcursor_FOUND "libxcursor-dev" "Xcursor")
endif()

if(KV_BUILD_TESTS)
    find_package(GTest QUIET)
    kv_require(GTest_FOUND "libgtest-dev libgmock-dev" "GoogleTest")
endif()

foreach(font KV_FONT_REGULAR)
    if(NOT EXISTS "${${font}}")
        message(FATAL_ERROR "${font} (${${font}}) does not exist. Install the Debian package 'fonts-inter' or set ${font}.")
    endif()
endforeach()
