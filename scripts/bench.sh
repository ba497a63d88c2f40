#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine. Every figure is printed on its own line as
# "name value unit".
#   scripts/bench.sh                 all benchmarks
#   scripts/bench.sh pin             pinning a 3840x2160 picture: time to shown, memory added
#   scripts/bench.sh finish [WxH…]   finishing a capture (save, copy, pin, ok) through the main
#                                    window on photo-like and UI-like screens, and the PNG encoder
#                                    beside GDI+'s (default 1920x1080 3840x2160)
#   scripts/bench.sh toolkit         building and painting a window from its layout
#   scripts/bench.sh capture [WxH…]  a region capture on screens of these sizes (default
#                                    1920x1080 3840x2160 7680x2160), each on its own Xvfb
#   scripts/bench.sh program [WxH…]  a capture started through the main window, beside the
#                                    capture alone (default 1920x1080 3840x2160)
#   scripts/bench.sh shapes [WxH…]   drawing shapes in a capture, one pointer step at a time, on
#                                    screens of these sizes (default 7680x2160), each on its own
#                                    Xvfb
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
"$ROOT/scripts/install_deps.sh" >/dev/null
"$ROOT/scripts/build.sh" win >&2  # build output (and any error) on stderr
cmake --build "$BUILD/win" --target benchmarks >&2
source "$ROOT/scripts/wine_env.sh"

run_toolkit() {
    wine_env_setup "$BUILD/win" >/dev/null
    wine "$BUILD/win/toolkit_bench.exe"
    wine_env_teardown
}

# Runs the benchmark program $1 on a display of each size given after it.
run_on_screens() {
    local exe=$1; shift
    local size
    for size in "$@"; do
        # A display of exactly this size; Wine's virtual screen follows it.
        local saved_display=${DISPLAY:-}
        unset DISPLAY
        WINE_ENV_SCREEN=$size wine_env_setup "$BUILD/win" >/dev/null
        wine "$BUILD/win/$exe"
        wine_env_teardown
        if [ -n "$saved_display" ]; then export DISPLAY=$saved_display; else unset DISPLAY; fi
    done
}

run_pin() { run_on_screens pin_bench.exe 3840x2160; }

run_finish() {
    if [ $# -gt 0 ]; then run_on_screens finish_bench.exe "$@"
    else run_on_screens finish_bench.exe 1920x1080 3840x2160; fi
}

run_capture() {
    if [ $# -gt 0 ]; then run_on_screens capture_bench.exe "$@"
    else run_on_screens capture_bench.exe 1920x1080 3840x2160 7680x2160; fi
}

run_program() {
    if [ $# -gt 0 ]; then run_on_screens program_bench.exe "$@"
    else run_on_screens program_bench.exe 1920x1080 3840x2160; fi
}

run_shapes() {
    if [ $# -gt 0 ]; then run_on_screens shapes_bench.exe "$@"
    else run_on_screens shapes_bench.exe 7680x2160; fi
}

case "${1:-all}" in
    toolkit) run_toolkit ;;
    pin) run_pin ;;
    capture) shift; run_capture "$@" ;;
    program) shift; run_program "$@" ;;
    shapes) shift; run_shapes "$@" ;;
    finish) shift; run_finish "$@" ;;
    all) run_toolkit; run_pin; run_capture; run_program; run_shapes; run_finish ;;
    *) echo "unknown benchmark: $1" >&2; exit 2 ;;
esac
