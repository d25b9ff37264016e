#!/usr/bin/env bash
# Prints, one per run, the seconds from starting the installer until its window is mapped.
# Usage: scripts/bench-startup.sh <kv_installer> <runs>   (needs DISPLAY)
set -euo pipefail
app="$1"; runs="$2"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT

for _ in $(seq 1 "$runs"); do
    start=$(date +%s%N)
    KV_INSTALLER_ROOT="$root" "$app" > /dev/null 2>&1 &
    pid=$!
    # Mapped: the window exists and X reports it viewable.
    while :; do
        wid="$(xdotool search --onlyvisible --name '^kv_installer$' 2> /dev/null | head -1 || true)"
        [ -n "$wid" ] && xwininfo -id "$wid" 2> /dev/null | grep -q "IsViewable" && break
        sleep 0.005
    done
    end=$(date +%s%N)
    kill "$pid"; wait "$pid" 2> /dev/null || true
    awk "BEGIN { printf \"%.3f\\n\", ($end - $start) / 1e9 }"
done
