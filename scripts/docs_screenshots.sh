#!/usr/bin/env bash
# Takes the README's pictures (docs/*.png) from the real program under Wine on Xvfb.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
"$ROOT/scripts/build.sh" win >/dev/null
source "$ROOT/scripts/wine_env.sh"
wine_env_setup "$BUILD/win" >/dev/null
trap wine_env_teardown EXIT
SCREENSHOT_BUILD_DIR="$BUILD/win" python3 "$ROOT/scripts/docs_screenshots.py"
