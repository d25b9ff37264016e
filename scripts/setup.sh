#!/usr/bin/env bash
# Installs every Debian package the build, the app and the tests need.
# Safe to run again: apt skips what is already there.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    juce-modules-source juce-tools
    zlib1g-dev libdeflate-dev libzip-dev libpng-dev libjpeg-dev
    libfreetype-dev libfontconfig1-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev libxcomposite-dev
    fonts-inter
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool imagemagick x11-utils
    unzip zip 7zip clang-format python3
    python3-jsonschema python3-yaml
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo_cmd apt-get update -qq
    $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
