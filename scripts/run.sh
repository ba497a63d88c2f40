#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under Wine. Without a
# DISPLAY it starts Xvfb, so the program runs headless (screenshots: import -window root x.png).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}

"$ROOT/scripts/install_deps.sh"
"$ROOT/scripts/build.sh" win

EXE="$BUILD/win/Screenshot.exe"
if [ ! -f "$EXE" ]; then
    echo "Built $BUILD/win. Screenshot.exe has no entry point yet: nothing to start."
    exit 0
fi
source "$ROOT/scripts/wine_env.sh"
wine_env_setup "$BUILD/win"
trap wine_env_teardown EXIT
echo "Starting Screenshot.exe on display $DISPLAY"
wine "$EXE" "$@"
