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
#                      [--timestamp URL] [--out DIR] [--valid-days N]
#       1. builds the program (build/release) with the key's public half, that version and
#          <base-url>/update.json as the manifest's address;
#       2. Authenticode-signs Screenshot.exe (with a certificate);
#       3. builds the setup and the portable archive, the setup and its uninstaller signed;
#       4. writes update.json: the version, the setup's address <base-url>/Screenshot-Setup-<v>.exe,
#          its SHA-256, when the statement expires (N days from now, 90 unless given) and the
#          key's signature of the statement that binds the four;
#       5. writes SHA256SUMS.
#       Upload the files in DIR (default build/release/out-<version>) to <base-url>/, update.json
#       last. Without a certificate nothing is Authenticode-signed, and the script says so.
#       Timestamping (--timestamp) needs the network and is off unless given. The build's output
#       goes to build/release/build-<version>.log; a failing step prints its end.
#
#   scripts/release.sh --resign DIR --key FILE [--valid-days N]
#       Signs the update.json in DIR (a release's output) again with a new expiry, N days from
#       now (90 unless given), without building: the version, address and SHA-256 stay, and the
#       setup in DIR must still have that SHA-256. Rewrites SHA256SUMS. Upload the new update.json
#       before the old one expires: once it has, installed copies take no update from it.
#
# The version is four numbers of 0-65535 without leading zeros. The expiry is written in UTC
# as 2027-03-08T12:00:00Z.
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

key="" version="" base="" cert="" certkey="" pkcs12="" passfile="" timestamp="" out="" days=90 resign=""
while [ $# -gt 0 ]; do
    [ $# -ge 2 ] || fail "$1 needs a value (see the head of $0)"
    case $1 in
        --key) key=$2 ;;
        --valid-days) days=$2 ;;
        --resign) resign=$2 ;;
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
# Four numbers of 0-65535 without leading zeros: windres reads "010" as octal 8, the program as 10.
check_version() {
    local part
    [[ $1 =~ ^(0|[1-9][0-9]{0,4})(\.(0|[1-9][0-9]{0,4})){3}$ ]] ||
        fail "the version must be four numbers without leading zeros, like 1.2.0.8 (not $1)"
    for part in ${1//./ }; do
        [ "$part" -le 65535 ] || fail "each number of the version must be at most 65535 (not $1)"
    done
}

[[ $days =~ ^[1-9][0-9]{0,3}$ ]] && [ "$days" -le 3650 ] || fail "--valid-days must be a number of days from 1 to 3650"
[ -n "$key" ] || fail "--key is needed"
[ -r "$key" ] || fail "cannot read the key $key"
openssl ec -in "$key" -noout -text 2>/dev/null | grep -q prime256v1 || fail "$key is not an ECDSA P-256 key"

# Writes update.json in $1 for version $2, setup address $3 and SHA-256 $4, signed with the key
# and expiring $days days from now.
write_update_json() {
    local dir=$1 version=$2 url=$3 sha=$4 expires statement signature
    expires=$(date -u -d "+$days days" +%Y-%m-%dT%H:%M:%SZ)
    statement=$(mktemp)
    # The statement the program checks (update/update_statement.h): tag, version, url, sha256, expiry.
    printf 'screenshot-update-2\n%s\n%s\n%s\n%s\n' "$version" "$url" "$sha" "$expires" > "$statement"
    signature=$(openssl dgst -sha256 -sign "$key" "$statement" | base64 -w0)
    rm -f "$statement"
    [ -n "$signature" ] || fail "could not sign the statement with $key"
    cat > "$dir/update.json" <<JSON
{"update_info": {"version": "$version", "url": "$url", "sha256": "$sha", "expires": "$expires", "signature": "$signature"}}
JSON
    echo "== update.json expires $expires: sign it again with --resign before then"
}

if [ -n "$resign" ]; then
    [ -z "$version$base$cert$certkey$pkcs12$out" ] || fail "--resign takes only --key and --valid-days"
    [ -f "$resign/update.json" ] || fail "no update.json in $resign"
    # version, url, sha256: one a line, each a plain line of text.
    fields=$(python3 -c '
import json, sys
info = json.load(open(sys.argv[1], encoding="utf-8"))["update_info"]
for name in ("version", "url", "sha256"):
    value = info[name]
    assert isinstance(value, str) and value.isprintable() and value, name
    print(value)' "$resign/update.json") || fail "$resign/update.json is not a release's manifest"
    { read -r version; read -r url; read -r sha; } <<<"$fields"
    check_version "$version"
    setup=$resign/${url##*/}
    [ -f "$setup" ] || fail "the setup $(basename "$setup") the manifest names is not in $resign"
    [ "$(sha256sum "$setup" | cut -d' ' -f1)" = "$sha" ] ||
        fail "$(basename "$setup") in $resign does not have the SHA-256 update.json names"
    write_update_json "$resign" "$version" "$url" "$sha"
    if [ -f "$resign/SHA256SUMS" ]; then
        names=$(awk '{ sub(/^\*/, "", $2); print $2 }' "$resign/SHA256SUMS")
        (cd "$resign" && sha256sum $names > SHA256SUMS.new && mv SHA256SUMS.new SHA256SUMS)
    fi
    exit 0
fi

[ -n "$version" ] && [ -n "$base" ] || fail "--key, --version and --base-url are needed"
check_version "$version"
# The address goes into the program, a JSON text and a signed line: plain characters only.
[[ $base =~ ^https?://[A-Za-z0-9._~:/%+=-]+$ ]] || fail "the base URL must be http(s):// with plain characters"
# Plain http to this machine is for tests: a program built with it takes updates only when the
# test variable SCREENSHOT_UPDATE_URL names the manifest.
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

# Each step's output goes to the log; a step that fails shows the log's end and where it is.
log=$BUILD/release/build-$version.log
mkdir -p "$BUILD/release"
: > "$log"
logged() {
    echo "+ $*" >> "$log"
    if ! "$@" >> "$log" 2>&1; then
        tail -n 40 "$log" >&2
        fail "this step failed: $* (the whole output is in $log)"
    fi
}

echo "== building $version"
tree=$BUILD/release/tree
logged cmake -S "$ROOT" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DSCREENSHOT_VERSION="$version" \
    -DSCREENSHOT_UPDATE_PUBLIC_KEY="$public" -DSCREENSHOT_UPDATE_MANIFEST_URL="$base/update.json"
logged cmake --build "$tree" --target Screenshot
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
logged env SCREENSHOT_EXE="$work/Screenshot.exe" SCREENSHOT_DIST="$out" SKIP_BUILD=1 SCREENSHOT_BUILD_ROOT="$BUILD" \
    "$ROOT/scripts/package.sh"
setup=Screenshot-Setup-$version.exe
portable=Screenshot-$version-portable.zip
[ -f "$out/$setup" ] && [ -f "$out/$portable" ] || fail "packing made no $setup or $portable"

echo "== signing update.json"
write_update_json "$out" "$version" "$base/$setup" "$(sha256sum "$out/$setup" | cut -d' ' -f1)"
(cd "$out" && sha256sum "$setup" "$portable" update.json > SHA256SUMS)

if [ -n "$signing" ]; then
    for file in "$out/$setup" "$work/Screenshot.exe"; do
        osslsigncode verify -in "$file" ${cert:+-CAfile "$cert"} >/dev/null 2>&1 ||
            echo "release: note: osslsigncode cannot verify $(basename "$file") against the given certificate" >&2
    done
fi
echo "== $out"
(cd "$out" && ls -l "$setup" "$portable" update.json SHA256SUMS)
