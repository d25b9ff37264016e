#!/usr/bin/env bash
# Prints, one line per run, the seconds of a whole unattended install (the real executable
# from start to exit, every format, on a fresh sandbox root) and of the durable reference:
# unzip of the same archives followed by sync. Runs alternate, so both see the same machine.
# Usage: scripts/bench-silent.sh <kv_installer> <archive dir> <runs>
set -euo pipefail
app="$1"; archives="$2"; runs="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

seconds() { awk "BEGIN { printf \"%.3f\", ($2 - $1) / 1e9 }"; }

for _ in $(seq 1 "$runs"); do
    rm -rf "$work/root" "$work/unzip"; sync
    start=$(date +%s%N)
    KV_INSTALLER_ROOT="$work/root" "$app" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART > /dev/null 2>&1 \
        || { echo "the unattended install failed" >&2; exit 1; }
    end=$(date +%s%N)
    ours="$(seconds "$start" "$end")"

    sync
    start=$(date +%s%N)
    mkdir -p "$work/unzip"
    for archive in "$archives"/*.zip; do unzip -o -q "$archive" -d "$work/unzip/$(basename "$archive" .zip)" 2> /dev/null || [ $? -le 1 ]; done # 1: warnings (the archives use backslashes)
    sync
    end=$(date +%s%N)
    echo "$ours $(seconds "$start" "$end")"
done
