#!/usr/bin/env bash
# Makes a throwaway code-signing certificate for the tests: <folder>/cert.pem and
# <folder>/sign.p12 (password "throwaway"), valid for two days. Never use it for a release.
set -euo pipefail
folder="$1"
mkdir -p "$folder"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$folder/key.pem" -out "$folder/cert.pem" -days 2 \
    -subj "/CN=kv_installer test signer (throwaway)" \
    -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=critical,digitalSignature" > /dev/null 2>&1
openssl pkcs12 -export -inkey "$folder/key.pem" -in "$folder/cert.pem" -out "$folder/sign.p12" -passout pass:throwaway
