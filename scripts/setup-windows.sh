#!/usr/bin/env bash
# Installs what the Windows cross-build and its end-to-end run need: MinGW-w64, its zlib,
# Wine, osslsigncode and openssl for signing, and access to Debian's source packages (for libpng and libjpeg).
set -euo pipefail
as_root=""; [ "$(id -u)" -eq 0 ] || as_root="sudo"
export DEBIAN_FRONTEND=noninteractive

packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 dpkg-dev xz-utils osslsigncode openssl)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q "install ok installed" || missing+=("$p")
done

sources=/etc/apt/sources.list.d/kv-installer-deb-src.sources
need_update=""
if ! grep -rqs "deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    $as_root tee "$sources" > /dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ -n "$need_update" ]; then
    $as_root apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
    $as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
