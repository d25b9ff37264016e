#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the whole suite (the real
# window included, on a virtual display), the real Windows executable cross-built and run
# end to end under Wine, the whole suite again built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzz target for a bounded time.
# Usage: scripts/test.sh            (KV_FUZZ_SECONDS sets the time per fuzz target, 25 by default)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$here/scripts/setup.sh"

echo "== format check"
"$here/scripts/check-format.sh"

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

echo "== Windows executable, end to end under Wine"
KV_HOST_BUILD_DIR="$here/build" "$here/scripts/build-windows.sh"
for script in "$here"/tests/wine/test_*.sh; do
    echo "-- $(basename "$script")"
    KV_EXE="$here/build-windows/kv_installer.exe" KV_FIXTURE="$here/build/tools/kv_fixture" \
        KV_WINDOW_CLOSE="$here/build/tests/window/kv_window_close" KV_SOURCE_DIR="$here" \
        bash "$script"
done

# Any sanitizer report ends the run with a failure.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$here/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
build_and_test "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_PAYLOAD_MODULE_BYTES=2097152

echo "== fuzzing"
"$here/scripts/fuzz.sh" "${KV_FUZZ_SECONDS:-25}"
