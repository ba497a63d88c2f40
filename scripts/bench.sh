#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine. Every figure is printed on its own line as
# "name value unit".
#   scripts/bench.sh                 all benchmarks
#   scripts/bench.sh toolkit         building and painting a window from its layout
#   scripts/bench.sh pin             pinning a 3840x2160 picture: time to shown, memory added
#   scripts/bench.sh capture [WxH…]  a region capture on screens of these sizes (default
#                                    1920x1080 3840x2160 7680x2160), each on its own Xvfb
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
"$ROOT/scripts/install_deps.sh" >/dev/null
"$ROOT/scripts/build.sh" win >&2  # build output (and any error) on stderr
source "$ROOT/scripts/wine_env.sh"

run_toolkit() {
    wine_env_setup "$BUILD/win" >/dev/null
    wine "$BUILD/win/toolkit_bench.exe"
    wine_env_teardown
}

run_pin() {
    local saved_display=${DISPLAY:-}
    unset DISPLAY
    WINE_ENV_SCREEN=3840x2160 wine_env_setup "$BUILD/win" >/dev/null
    wine "$BUILD/win/pin_bench.exe"
    wine_env_teardown
    if [ -n "$saved_display" ]; then export DISPLAY=$saved_display; else unset DISPLAY; fi
}

run_capture() {
    local sizes=("$@")
    [ ${#sizes[@]} -gt 0 ] || sizes=(1920x1080 3840x2160 7680x2160)
    local size
    for size in "${sizes[@]}"; do
        # A display of exactly this size; Wine's virtual screen follows it.
        local saved_display=${DISPLAY:-}
        unset DISPLAY
        WINE_ENV_SCREEN=$size wine_env_setup "$BUILD/win" >/dev/null
        wine "$BUILD/win/capture_bench.exe"
        wine_env_teardown
        if [ -n "$saved_display" ]; then export DISPLAY=$saved_display; else unset DISPLAY; fi
    done
}

case "${1:-all}" in
    toolkit) run_toolkit ;;
    pin) run_pin ;;
    capture) shift; run_capture "$@" ;;
    all) run_toolkit; run_pin; run_capture ;;
    *) echo "unknown benchmark: $1" >&2; exit 2 ;;
esac
