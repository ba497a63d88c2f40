#!/usr/bin/env bash
# Builds the program and packs it for users, into build/dist/:
#   Screenshot-Setup-<version>.exe    the per-user installer (NSIS)
#   Screenshot-<version>-portable.zip the program alone; it keeps its settings beside itself
# The version is the one in the program's own version resource. scripts/release.sh sets:
#   SCREENSHOT_EXE    the program to pack (default: build/win/Screenshot.exe)
#   SCREENSHOT_DIST   where the packages go (default: build/dist)
#   SIGN_COMMAND      a command that Authenticode-signs the file it is given in place: the setup
#                     and its uninstaller are then signed as they are made
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
DIST=${SCREENSHOT_DIST:-$BUILD/dist}
EXE=${SCREENSHOT_EXE:-$BUILD/win/Screenshot.exe}

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

# The side picture of the installer's first and last pages: the program's icon on its blue.
SIDE=$DIST/side.bmp
convert -size 164x314 gradient:'#2F7BFF'-'#0B3D91' \
    \( "$ROOT/app/res/screenshot.ico[4]" -resize 72x72 \) -gravity north -geometry +0+72 -composite \
    -type TrueColor BMP3:"$SIDE"
SIGNING=()
[ -n "${SIGN_COMMAND:-}" ] && SIGNING=(-DSIGN_COMMAND="$SIGN_COMMAND")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$VERSION" -DAPP_EXE="$EXE" "${SIGNING[@]}" \
    -DAPP_ICON="$ROOT/app/res/screenshot.ico" -DOUT_FILE="$SETUP" -DSIDE_BITMAP="$SIDE" "$ROOT/installer/screenshot.nsi"
python3 - "$EXE" "$PORTABLE" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[2], "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    archive.write(sys.argv[1], "Screenshot/Screenshot.exe")
PY
rm -f "$SIDE"
echo "$SETUP"
echo "$PORTABLE"
