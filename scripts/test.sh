#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test, the real window included
# (on a virtual display). Usage: scripts/test.sh [build-dir]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"

"$here/scripts/setup.sh"

echo "== format check"
"$here/scripts/check-format.sh"

echo "== configure and build ($build)"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DKV_BUILD_TESTS=ON > "$build.configure.log" 2>&1 \
    || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j2

# Tests of the real window need a display; they get a private virtual one.
source "$here/scripts/virtual-display.sh"
start_virtual_display
# A bare X server has none of the atoms a window manager creates, and JUCE only looks them up.
"$build/tests/window/kv_window_close" --intern

echo "== tests"
export KV_INSTALLER_ROOT="$(mktemp -d -t kv_ctest_root.XXXXXX)"
cd "$build"
ctest --output-on-failure --no-tests=error -j2 --timeout 300
