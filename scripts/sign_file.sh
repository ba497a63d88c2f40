#!/usr/bin/env bash
# Authenticode-signs one Windows program in place with osslsigncode (SHA-256), for
# scripts/release.sh and the installer's build, which calls it for the setup and its uninstaller.
# The certificate comes from the environment:
#   SIGN_CERT and SIGN_KEY     PEM certificate (chain) and its private key, or
#   SIGN_PKCS12                a .pfx/.p12 file, with SIGN_PASS_FILE holding its password
#   SIGN_TIMESTAMP_URL         optional: an RFC 3161 timestamping service (needs the network)
# Usage: sign_file.sh FILE
set -euo pipefail
file=${1:?usage: sign_file.sh FILE}
args=(sign -h sha256 -n "截图工具")
if [ -n "${SIGN_PKCS12:-}" ]; then
    args+=(-pkcs12 "$SIGN_PKCS12")
    [ -n "${SIGN_PASS_FILE:-}" ] && args+=(-readpass "$SIGN_PASS_FILE")
elif [ -n "${SIGN_CERT:-}" ] && [ -n "${SIGN_KEY:-}" ]; then
    args+=(-certs "$SIGN_CERT" -key "$SIGN_KEY")
else
    echo "sign_file: no certificate (SIGN_CERT and SIGN_KEY, or SIGN_PKCS12)" >&2
    exit 1
fi
[ -n "${SIGN_TIMESTAMP_URL:-}" ] && args+=(-ts "$SIGN_TIMESTAMP_URL")
# osslsigncode writes a new file only.
signed=$(mktemp -u "$file.XXXXXX")
trap 'rm -f "$signed"' EXIT
osslsigncode "${args[@]}" -in "$file" -out "$signed" >/dev/null
# In place, keeping the file's own permissions.
cat "$signed" > "$file"
