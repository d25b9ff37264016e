#!/usr/bin/env bash
# Sets up the machine, builds the installer and opens its window. Without a display the
# window is shown on a virtual display instead and a screenshot is saved.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-app"

"$here/scripts/setup.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" -j2 --target kv_installer

if [ -n "${DISPLAY:-}" ]; then
    exec "$build/kv_installer"
fi

echo "No display here: showing the installer on a virtual display and saving a screenshot."
source "$here/scripts/virtual-display.sh"
start_virtual_display

"$build/kv_installer" &
app=$!
for _ in $(seq 1 100); do
    xdotool search --name '^kv_installer$' > /dev/null 2>&1 && break
    sleep 0.1
done
sleep 1
import -window root "$build/screenshot.png"
kill "$app" 2>/dev/null || true
echo "Screenshot: $build/screenshot.png"
