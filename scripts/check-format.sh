#!/usr/bin/env bash
# Fails when any of our own C++ sources differs from .clang-format.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
files=$(git ls-files -- '*.cpp' '*.h' | grep -v -E '^build')
[ -z "$files" ] || clang-format --dry-run --Werror $files
