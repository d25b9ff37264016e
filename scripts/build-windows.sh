#!/usr/bin/env bash
# Cross-builds the real Windows executable, build-windows/kv_installer.exe, with Debian's
# MinGW-w64. libpng, libjpeg and libdeflate, which Debian ships for MinGW neither in JUCE nor
# on their own, are built (static) from Debian's source packages and kept in build-windows-deps/
# between runs.
# The archives and the icon come from a host build (build/), made here when missing; a
# maker's own archives come from KV_PRODUCT_ARCHIVES_DIR. The host's kv_archive_check checks
# whichever are embedded.
#
# Signing: with KV_SIGN_PKCS12 (a .p12/.pfx file) and KV_SIGN_PASSWORD set, the executable is
# signed with Authenticode (SHA-256) by osslsigncode, with an RFC 3161 timestamp from
# KV_SIGN_TIMESTAMP_URL when that is set. Without them it stays unsigned, and says so.
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
cmake --build "$host" -j2 --target kv_payload_archives kv_fixture kv_archive_check
mkdir -p "$build"
"$host/tools/kv_fixture" icon "$build/kv_installer.ico"

# unpack_source <source package>: Debian's source of the package, unpacked under
# $deps/src; its folder is left in $source.
unpack_source()
{
    local package="$1"
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
    source="$(find "$deps/src" -maxdepth 1 -type d -name "${package%%[0-9.]*}*" ! -name src | head -1)"
}

# build_dependency <source package> <cmake options...>
build_dependency()
{
    local package="$1"; shift
    local stamp="$deps/$package.done"
    [ -f "$stamp" ] && return 0

    unpack_source "$package"
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

# libdeflate builds with its own Makefile: only the static library, with the MinGW compiler.
build_libdeflate()
{
    local stamp="$deps/libdeflate.done"
    [ -f "$stamp" ] && return 0

    unpack_source libdeflate
    make -C "$source" -j2 CC=x86_64-w64-mingw32-gcc-posix AR=x86_64-w64-mingw32-ar libdeflatestatic.lib \
        > "$deps/libdeflate.log" 2>&1 || { tail -30 "$deps/libdeflate.log"; exit 1; }
    mkdir -p "$deps/prefix/include" "$deps/prefix/lib"
    cp "$source/libdeflate.h" "$deps/prefix/include/"
    cp "$source/libdeflatestatic.lib" "$deps/prefix/lib/libdeflate.a"
    touch "$stamp"
}
build_libdeflate

echo "== kv_installer.exe ($build)"
cmake -S "$here" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKV_MINGW_DEPS="$deps/prefix" \
    -DCMAKE_PREFIX_PATH="$deps/prefix" -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF \
    -DJUCE_DIR="$(dirname "$(ls -d /usr/lib/*/cmake/JUCE-7.0.5/JUCEConfig.cmake | head -1)")" \
    -DKV_PRODUCT_ARCHIVES_DIR="${KV_PRODUCT_ARCHIVES_DIR:-$host/payload}" -DKV_WINDOWS_ICON="$build/kv_installer.ico" \
    -DKV_HOST_ARCHIVE_CHECK="$host/tools/kv_archive_check" \
    > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
exe="$build/kv_installer.exe"
signing=""; [ -z "${KV_SIGN_PKCS12:-}" ] || [ -z "${KV_SIGN_PASSWORD:-}" ] || signing=1
# The link leaves an up-to-date executable alone: one signed by an earlier run is linked
# afresh when this run does not sign.
if [ -z "$signing" ] && [ -f "$exe" ] && osslsigncode extract-signature -in "$exe" -out "$build/signature.der" > /dev/null 2>&1; then
    rm -f "$exe"
fi
rm -f "$build/signature.der"
cmake --build "$build" -j2 --target kv_installer kv_accessibility_probe

if [ -n "$signing" ]; then
    echo "== signing kv_installer.exe (Authenticode, SHA-256)"
    timestamp=()
    if [ -n "${KV_SIGN_TIMESTAMP_URL:-}" ]; then
        timestamp=(-ts "$KV_SIGN_TIMESTAMP_URL")
    else
        echo "   no timestamp: KV_SIGN_TIMESTAMP_URL is not set"
    fi
    # A signature already there (from an earlier run) is replaced, never nested.
    osslsigncode remove-signature -in "$exe" -out "$exe.unsigned" > /dev/null 2>&1 || cp "$exe" "$exe.unsigned"
    osslsigncode sign -pkcs12 "$KV_SIGN_PKCS12" -pass "$KV_SIGN_PASSWORD" -h sha256 \
        -n "kv_installer" "${timestamp[@]}" -in "$exe.unsigned" -out "$exe.signed"
    mv "$exe.signed" "$exe"
    rm -f "$exe.unsigned"
else
    echo "== kv_installer.exe is not signed (set KV_SIGN_PKCS12 and KV_SIGN_PASSWORD to sign it)"
fi
ls -l "$exe"
