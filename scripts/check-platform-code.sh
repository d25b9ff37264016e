#!/usr/bin/env bash
# Fails where platform code strays from the one rule: each system's own code is a file of its
# own, chosen by name (*Posix.cpp, *Windows.cpp; cmake/KvLayer.cmake), not an #if inside a
# function. What may remain is spelled one way, with the compiler's own macros, which need no
# header: `_WIN32` in a header that declares a member per system, `__linux__` in a *Posix.cpp
# for what only Linux offers. Each offending line is named with its file.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

layers=$(grep -v -E '^[[:space:]]*(#|$)' cmake/layers.txt | tr -s ' \n' ' ')
failed=0
report()
{
    echo "$1: $2"
    failed=1
}

# Every system test in every source of ours (tests and tools too) is one of the two spellings.
other_spellings='JUCE_(WINDOWS|LINUX|MAC|BSD|IOS|ANDROID)|__WIN32__|_WIN64|\bWIN32\b|__unix__|__gnu_linux__|\blinux\b|__APPLE__'
while IFS= read -r hit; do
    report "${hit%%:*}:$(cut -d: -f2 <<< "$hit")" "spell the system test _WIN32 or __linux__"
done < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.c' | grep -v -E '^build' \
    | xargs grep -n -E "^[[:space:]]*#[[:space:]]*(if|elif|ifdef|ifndef).*($other_spellings)" || true)

# In the layers' code: no Windows test in a .cpp (a file per system instead), Linux only in a
# *Posix.cpp.
for folder in $layers; do
    while IFS= read -r file; do
        while IFS=: read -r at _; do
            report "$file:$at" "a Windows test inside a .cpp: put each system's code in *Windows.cpp and *Posix.cpp"
        done < <(grep -n -E '^[[:space:]]*#[[:space:]]*(if|elif|ifdef|ifndef).*_WIN32' "$file" || true)
        case "$file" in *Posix.cpp) continue ;; esac
        while IFS=: read -r at _; do
            report "$file:$at" "a Linux test outside a *Posix.cpp"
        done < <(grep -n -E '^[[:space:]]*#[[:space:]]*(if|elif|ifdef|ifndef).*__linux__' "$file" || true)
    done < <(git ls-files --cached --others --exclude-standard -- "$folder/*.cpp" "$folder/*.c")
done

if [ "$failed" -ne 0 ]; then
    echo "check-platform-code: platform code outside the rule" >&2
    exit 1
fi
echo "check-platform-code: each system's code is chosen by file name"
