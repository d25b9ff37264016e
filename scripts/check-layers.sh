#!/usr/bin/env bash
# Fails when a folder includes one that is not below it: every #include "folder/..." in a
# layer's sources must name its own folder or one on an earlier line of cmake/layers.txt,
# where the order is written once (CMake reads it too). tests/, tools/, bench/ and fuzz/
# may include anything. Each offending line is named with its file and its include.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

declare -A rank
layers=()
line_number=0
while read -r line; do
    case "$line" in "" | "#"*) continue ;; esac
    line_number=$((line_number + 1))
    for folder in $line; do
        rank[$folder]=$line_number
        layers+=("$folder")
    done
done < cmake/layers.txt

failed=0
for folder in "${layers[@]}"; do
    # Tracked and new files alike, so a planted include is caught before it is committed.
    while IFS= read -r file; do
        while IFS=: read -r at include; do
            target="${include#*\"}"
            target="${target%%/*}"
            [ "$target" = "$folder" ] && continue
            if [ -n "${rank[$target]:-}" ]; then
                [ "${rank[$target]}" -lt "${rank[$folder]}" ] && continue
                why="$target/ is not below $folder/"
            elif [ -d "$target" ]; then
                why="$target/ is not a layer"
            else
                continue # a generated or system header
            fi
            echo "$file:$at: $include: $why (cmake/layers.txt)"
            failed=1
        done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$file" | sed -E 's/^([0-9]+):[[:space:]]*(#[[:space:]]*include[[:space:]]*"[^"]*").*/\1:\2/')
    done < <(git ls-files --cached --others --exclude-standard -- "$folder/*.cpp" "$folder/*.h" "$folder/*.c")
done

if [ "$failed" -ne 0 ]; then
    echo "check-layers: a folder includes a folder that is not below it" >&2
    exit 1
fi
echo "check-layers: every include keeps to the layers of cmake/layers.txt"
