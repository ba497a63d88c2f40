#!/usr/bin/env bash
# Builds the benchmarks and runs each under Wine on Xvfb. Every figure is printed on its own
# line as "name value unit". Usage: scripts/bench.sh [benchmark-name ...] (default: all)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
"$ROOT/scripts/install_deps.sh" >/dev/null
"$ROOT/scripts/build.sh" win >/dev/null
source "$ROOT/scripts/wine_env.sh"
wine_env_setup "$BUILD/win" >/dev/null
trap wine_env_teardown EXIT
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(toolkit_bench)
for name in "${names[@]}"; do
    wine "$BUILD/win/$name.exe"
done
