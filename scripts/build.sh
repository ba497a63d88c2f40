#!/usr/bin/env bash
# Configures and builds both trees: build/host (native core, tests and fuzzers, with sanitizers)
# and build/win (the 32-bit Windows program and its tests). Usage: scripts/build.sh [host|win|all]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
what=${1:-all}

if [ "$what" = host ] || [ "$what" = all ]; then
    cmake -S "$ROOT" -B "$BUILD/host" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
    cmake --build "$BUILD/host"
fi
if [ "$what" = win ] || [ "$what" = all ]; then
    cmake -S "$ROOT" -B "$BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$BUILD/win"
fi
