#!/usr/bin/env bash
# Cross-builds the real Windows executable, build-windows/kv_installer.exe, with Debian's
# MinGW-w64. libpng and libjpeg, which Debian ships for MinGW neither in JUCE nor on their
# own, are built from Debian's source packages and kept in build-windows-deps/ between runs.
# The archives and the icon come from a host build (build/), made here when missing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-windows"
deps="${KV_MINGW_DEPS_DIR:-$here/build-windows-deps}"
host="${KV_HOST_BUILD_DIR:-$here/build}"
toolchain="$here/cmake/toolchains/mingw-w64-x86_64.cmake"
as_root=""; [ "$(id -u)" -eq 0 ] || as_root="sudo"

"$here/scripts/setup.sh"
"$here/scripts/setup-windows.sh"

# Host tools: the archives to embed and the application icon.
if [ ! -f "$host/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$host" -DCMAKE_BUILD_TYPE=Debug > /dev/null
fi
cmake --build "$host" -j2 --target kv_payload_archives kv_fixture
mkdir -p "$build"
"$host/tools/kv_fixture" icon "$build/kv_installer.ico"

# build_dependency <source package> <cmake options...>
build_dependency()
{
    local package="$1"; shift
    local stamp="$deps/$package.done"
    [ -f "$stamp" ] && return 0

    mkdir -p "$deps/src"
    rm -rf "$deps/src/$package"-*
    (cd "$deps/src" && apt-get source --download-only "$package" > /dev/null 2>&1 || true)
    local dsc orig
    dsc="$(ls "$deps/src/${package}"_*.dsc 2> /dev/null | head -1 || true)"
    if [ -n "$dsc" ]; then
        (cd "$deps/src" && dpkg-source --no-check -x "$(basename "$dsc")" > /dev/null)
    else
        orig="$(ls "$deps/src/${package}"_*.orig.tar.* | head -1)"
        tar -C "$deps/src" -xf "$orig"
    fi
    local source
    source="$(find "$deps/src" -maxdepth 1 -type d -name "${package%%[0-9.]*}*" ! -name src | head -1)"

    cmake -S "$source" -B "$deps/build/$package" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$deps/prefix" -DCMAKE_POSITION_INDEPENDENT_CODE=ON "$@" > "$deps/$package.log" 2>&1 \
        || { tail -30 "$deps/$package.log"; exit 1; }
    cmake --build "$deps/build/$package" -j2 >> "$deps/$package.log" 2>&1 || { tail -30 "$deps/$package.log"; exit 1; }
    cmake --install "$deps/build/$package" >> "$deps/$package.log" 2>&1
    # JUCE's JPEG loader wants libjpeg's private header too, as Debian's libjpeg-dev ships it.
    [ ! -f "$source/jpegint.h" ] || cp "$source/jpegint.h" "$deps/prefix/include/"
    touch "$stamp"
}

echo "== MinGW dependencies ($deps)"
build_dependency libjpeg-turbo -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
build_dependency libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_ROOT=/usr/x86_64-w64-mingw32

echo "== kv_installer.exe ($build)"
cmake -S "$here" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKV_MINGW_DEPS="$deps/prefix" \
    -DCMAKE_PREFIX_PATH="$deps/prefix" -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF \
    -DJUCE_DIR="$(dirname "$(ls -d /usr/lib/*/cmake/JUCE-7.0.5/JUCEConfig.cmake | head -1)")" \
    -DKV_PRODUCT_ARCHIVES_DIR="$host/payload" -DKV_WINDOWS_ICON="$build/kv_installer.ico" \
    > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j2 --target kv_installer
ls -l "$build/kv_installer.exe"
