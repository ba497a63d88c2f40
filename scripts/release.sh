#!/usr/bin/env bash
# Makes everything a release needs, in one command.
#
#   scripts/release.sh --new-key FILE
#       Makes the update-signing key (ECDSA P-256, PEM) once and prints its public half. Keep the
#       file off the repository and out of backups others can read: whoever holds it can make
#       every installed copy run their program.
#
#   scripts/release.sh --key FILE --version 1.2.0.8 --base-url https://example.com/update
#                      [--cert CERT.pem --cert-key KEY.pem | --pkcs12 FILE.pfx [--pass-file FILE]]
#                      [--timestamp URL] [--out DIR]
#       1. builds the program (build/release) with the key's public half, that version and
#          <base-url>/update.json as the manifest's address;
#       2. Authenticode-signs Screenshot.exe (with a certificate);
#       3. builds the setup and the portable archive, the setup and its uninstaller signed;
#       4. writes update.json: the version, the setup's address <base-url>/Screenshot-Setup-<v>.exe,
#          its SHA-256 and the key's signature of the statement that binds the three;
#       5. writes SHA256SUMS.
#       Upload the files in DIR (default build/release/out-<version>) to <base-url>/, update.json
#       last. Without a certificate nothing is Authenticode-signed, and the script says so.
#       Timestamping (--timestamp) needs the network and is off unless given.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}

fail() {
    echo "release: $*" >&2
    exit 1
}

if [ "${1:-}" = --new-key ]; then
    key=${2:?usage: release.sh --new-key FILE}
    [ -e "$key" ] && fail "$key exists; a new key would orphan every copy built with the old one"
    (umask 077 && openssl ecparam -name prime256v1 -genkey -noout -out "$key")
    echo "made $key (keep it secret, and off the repository)"
    echo "public key: $(openssl ec -in "$key" -pubout -outform DER 2>/dev/null | tail -c 64 | od -An -tx1 -v | tr -d ' \n')"
    exit 0
fi

key="" version="" base="" cert="" certkey="" pkcs12="" passfile="" timestamp="" out=""
while [ $# -gt 0 ]; do
    case $1 in
        --key) key=$2 ;;
        --version) version=$2 ;;
        --base-url) base=${2%/} ;;
        --cert) cert=$2 ;;
        --cert-key) certkey=$2 ;;
        --pkcs12) pkcs12=$2 ;;
        --pass-file) passfile=$2 ;;
        --timestamp) timestamp=$2 ;;
        --out) out=$2 ;;
        *) fail "unknown option $1 (see the head of $0)" ;;
    esac
    shift 2
done
[ -n "$key" ] && [ -n "$version" ] && [ -n "$base" ] || fail "--key, --version and --base-url are needed"
[ -r "$key" ] || fail "cannot read the key $key"
openssl ec -in "$key" -noout -text 2>/dev/null | grep -q prime256v1 || fail "$key is not an ECDSA P-256 key"
[[ $version =~ ^[0-9]{1,5}\.[0-9]{1,5}\.[0-9]{1,5}\.[0-9]{1,5}$ ]] || fail "the version must be four numbers, like 1.2.0.8"
# The address goes into the program, a JSON text and a signed line: plain characters only.
[[ $base =~ ^https?://[A-Za-z0-9._~:/%+=-]+$ ]] || fail "the base URL must be http(s):// with plain characters"
[[ $base == https://* || $base =~ ^http://(127\.[0-9.]+|localhost)[:/] ]] ||
    fail "the program downloads updates over https only (plain http only from this machine, for tests)"
if [ -n "$cert$certkey" ] && { [ -z "$cert" ] || [ -z "$certkey" ]; }; then
    fail "--cert and --cert-key go together"
fi
# Absolute paths: the installer's build signs from another folder.
absolute() { [ -z "$1" ] || echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
key=$(absolute "$key") cert=$(absolute "$cert") certkey=$(absolute "$certkey")
pkcs12=$(absolute "$pkcs12") passfile=$(absolute "$passfile")
out=${out:-$BUILD/release/out-$version}
mkdir -p "$out"
out=$(cd "$out" && pwd)

public=$(openssl ec -in "$key" -pubout -outform DER 2>/dev/null | tail -c 64 | od -An -tx1 -v | tr -d ' \n')
[ ${#public} -eq 128 ] || fail "could not read the key's public half"

echo "== building $version"
tree=$BUILD/release/tree
cmake -S "$ROOT" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DSCREENSHOT_VERSION="$version" \
    -DSCREENSHOT_UPDATE_PUBLIC_KEY="$public" -DSCREENSHOT_UPDATE_MANIFEST_URL="$base/update.json" >/dev/null
cmake --build "$tree" --target Screenshot >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$tree/Screenshot.exe" "$work/Screenshot.exe"

signing=""
if [ -n "$pkcs12" ]; then
    export SIGN_PKCS12=$pkcs12 SIGN_PASS_FILE=$passfile
    signing=yes
elif [ -n "$cert" ]; then
    export SIGN_CERT=$cert SIGN_KEY=$certkey
    signing=yes
fi
[ -n "$timestamp" ] && export SIGN_TIMESTAMP_URL=$timestamp
if [ -n "$signing" ]; then
    echo "== Authenticode-signing Screenshot.exe"
    "$ROOT/scripts/sign_file.sh" "$work/Screenshot.exe"
    export SIGN_COMMAND=$ROOT/scripts/sign_file.sh
else
    echo "== no certificate given: nothing is Authenticode-signed (Windows will warn of an unknown publisher)"
    unset SIGN_COMMAND
fi

echo "== packing"
SCREENSHOT_EXE=$work/Screenshot.exe SCREENSHOT_DIST=$out SKIP_BUILD=1 SCREENSHOT_BUILD_ROOT=$BUILD \
    "$ROOT/scripts/package.sh" >/dev/null
setup=Screenshot-Setup-$version.exe
portable=Screenshot-$version-portable.zip
[ -f "$out/$setup" ] && [ -f "$out/$portable" ] || fail "packing made no $setup or $portable"

echo "== signing update.json"
url=$base/$setup
sha=$(sha256sum "$out/$setup" | cut -d' ' -f1)
# The statement the program checks (update/update_statement.h): tag, version, url, sha256.
printf 'screenshot-update-1\n%s\n%s\n%s\n' "$version" "$url" "$sha" > "$work/statement"
signature=$(openssl dgst -sha256 -sign "$key" "$work/statement" | base64 -w0)
cat > "$out/update.json" <<JSON
{"update_info": {"version": "$version", "url": "$url", "sha256": "$sha", "signature": "$signature"}}
JSON
(cd "$out" && sha256sum "$setup" "$portable" update.json > SHA256SUMS)

if [ -n "$signing" ]; then
    for file in "$out/$setup" "$work/Screenshot.exe"; do
        osslsigncode verify -in "$file" ${cert:+-CAfile "$cert"} >/dev/null 2>&1 ||
            echo "release: note: osslsigncode cannot verify $(basename "$file") against the given certificate" >&2
    done
fi
echo "== $out"
(cd "$out" && ls -l "$setup" "$portable" update.json SHA256SUMS)
