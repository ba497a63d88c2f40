#!/usr/bin/env bash
# Builds the program and packs it for users, into build/dist/:
#   Screenshot-Setup-<version>.exe    the per-user installer (NSIS)
#   Screenshot-<version>-portable.zip the program alone; it keeps its settings beside itself
# The version is the one in the program's own version resource.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
DIST=$BUILD/dist
EXE=$BUILD/win/Screenshot.exe

if ! command -v makensis >/dev/null; then
    echo "package: makensis is missing (scripts/install_deps.sh installs Debian's nsis)" >&2
    exit 1
fi
[ "${SKIP_BUILD:-0}" = 1 ] || "$ROOT/scripts/build.sh" win >/dev/null
VERSION=$(python3 "$ROOT/scripts/exe_version.py" "$EXE")
mkdir -p "$DIST"
SETUP=$DIST/Screenshot-Setup-$VERSION.exe
PORTABLE=$DIST/Screenshot-$VERSION-portable.zip
rm -f "$SETUP" "$PORTABLE"

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$VERSION" -DAPP_EXE="$EXE" \
    -DAPP_ICON="$ROOT/app/res/screenshot.ico" -DOUT_FILE="$SETUP" "$ROOT/installer/screenshot.nsi"
python3 - "$EXE" "$PORTABLE" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[2], "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    archive.write(sys.argv[1], "Screenshot/Screenshot.exe")
PY
echo "$SETUP"
echo "$PORTABLE"
