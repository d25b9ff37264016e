#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the whole suite (the real
# window included, on a virtual display), the real Windows executable cross-built and run
# end to end under Wine, the whole suite again built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzz target for a bounded time.
# Usage: scripts/test.sh            (KV_FUZZ_SECONDS sets the time per fuzz target, 25 by default)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$here/scripts/setup.sh"
# Wine's and MinGW's DLLs are test inputs of the first suite too, not only of the Windows stage.
"$here/scripts/setup-windows.sh"

echo "== format check"
"$here/scripts/check-format.sh"

echo "== layer check, platform code check"
"$here/scripts/check-layers.sh"
"$here/scripts/check-platform-code.sh"

source "$here/scripts/virtual-display.sh"
start_virtual_display

# build_and_test <build dir> <cmake options...>
build_and_test()
{
    local build="$1"; shift
    echo "== configure and build ($build)"
    cmake -S "$here" -B "$build" -DKV_BUILD_TESTS=ON "$@" > "$build.configure.log" 2>&1 \
        || { cat "$build.configure.log"; exit 1; }
    cmake --build "$build" -j2

    # A bare X server has none of the atoms a window manager creates; JUCE only looks them up.
    "$build/tests/window/kv_window_close" --intern

    echo "== tests ($build)"
    KV_INSTALLER_ROOT="$(mktemp -d -t kv_ctest_root.XXXXXX)" \
        ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 --timeout 300
}

build_and_test "$here/build" -DCMAKE_BUILD_TYPE=Debug

echo "== Windows executable: signed with a throwaway certificate, verified, end to end under Wine"
"$here/scripts/make-test-certificate.sh" "$here/build-windows-sign"
KV_HOST_BUILD_DIR="$here/build" KV_SIGN_PKCS12="$here/build-windows-sign/sign.p12" KV_SIGN_PASSWORD="throwaway" \
    "$here/scripts/build-windows.sh"
osslsigncode verify -in "$here/build-windows/kv_installer.exe" -CAfile "$here/build-windows-sign/cert.pem"
cp "$here/build-windows/kv_installer.exe" "$here/build-windows-sign/kv_installer-signed.exe"

# run_wine_test <script> <exe>
run_wine_test()
{
    echo "-- $(basename "$1") ($(basename "$2"))"
    KV_EXE="$2" KV_FIXTURE="$here/build/tools/kv_fixture" \
        KV_WINDOW_CLOSE="$here/build/tests/window/kv_window_close" KV_SOURCE_DIR="$here" \
        bash "$1"
}
run_wine_test "$here/tests/wine/test_wine.sh" "$here/build-windows-sign/kv_installer-signed.exe"
KV_PROBE="$here/build-windows/kv_accessibility_probe.exe" \
    run_wine_test "$here/tests/wine/test_wine_accessibility.sh" "$here/build-windows-sign/kv_installer-signed.exe"

echo "== Windows executable, unsigned as a build without a certificate makes it"
KV_HOST_BUILD_DIR="$here/build" "$here/scripts/build-windows.sh"
! osslsigncode verify -in "$here/build-windows/kv_installer.exe" > /dev/null 2>&1 \
    || { echo "the unsigned build still carries a signature"; exit 1; }
run_wine_test "$here/tests/wine/test_wine_in_use.sh" "$here/build-windows/kv_installer.exe"
run_wine_test "$here/tests/wine/test_wine_deploy.sh" "$here/build-windows/kv_installer.exe"

# Any sanitizer report ends the run with a failure.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$here/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
build_and_test "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_PAYLOAD_MODULE_BYTES=2097152

echo "== fuzzing"
"$here/scripts/fuzz.sh" "${KV_FUZZ_SECONDS:-25}"
