#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the host tests (sanitizers),
# a bounded fuzz run of each parser, the Windows tests under Wine on Xvfb and the end-to-end
# tests. Ends with 'N passed, N failed, N skipped' and exits non-zero on any failure.
#   FUZZ_SECONDS   seconds per fuzz target (default 30)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
RESULTS=$BUILD/results
FUZZ_SECONDS=${FUZZ_SECONDS:-30}
status=0

step() { echo; echo "=== $*"; }

step "installing dependencies"
"$ROOT/scripts/install_deps.sh" || exit 1

step "building"
"$ROOT/scripts/build.sh" all || exit 1
rm -rf "$RESULTS"
mkdir -p "$RESULTS/host" "$RESULTS/win" "$RESULTS/fuzz" "$RESULTS/layers"

step "include arrows between folders"
python3 "$ROOT/scripts/check_layers.py" --results "$RESULTS/layers/layers.json" || status=1

step "host tests"
GTEST_OUTPUT="xml:$RESULTS/host/" ctest --test-dir "$BUILD/host" --output-on-failure || status=1

step "fuzzing (${FUZZ_SECONDS} s per target)"
run_fuzzer() {
    local name=$1; shift
    local corpus="$BUILD/host/fuzz_corpus/$name"
    local log="$BUILD/host/$name.log"
    mkdir -p "$corpus"
    local seeds=()
    local dir
    for dir in "$@"; do [ -d "$dir" ] && seeds+=("$dir"); done
    if "$BUILD/host/$name" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$corpus" "${seeds[@]}" >"$log" 2>&1; then
        echo "$name: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs, no failure"
        echo '{"passed": 1, "failed": 0}' >"$RESULTS/fuzz/$name.json"
    else
        echo "$name: FAILED, see $log"; tail -40 "$log"
        echo '{"passed": 0, "failed": 1}' >"$RESULTS/fuzz/$name.json"
        status=1
    fi
}
run_fuzzer json_fuzz "$ROOT/tests/fuzz/json_corpus" "$ROOT/../shared/data/JSONTestSuite/test_parsing"
run_fuzzer xml_fuzz "$ROOT/tests/fuzz/xml_corpus" "$ROOT/tests/win/toolkit_skin"
run_fuzzer zip_fuzz "$ROOT/tests/fuzz/zip_corpus"

step "Windows and end-to-end tests under Wine"
source "$ROOT/scripts/wine_env.sh"
if wine_env_setup "$BUILD/win"; then
    GTEST_OUTPUT="xml:$(winepath -w "$RESULTS/win")\\" \
        ctest --test-dir "$BUILD/win" --output-on-failure --timeout 600 || status=1
    mv -f "$BUILD/win/e2e.json" "$BUILD/win/e2e_update.json" "$RESULTS/win/" 2>/dev/null
else
    echo "could not prepare the display and Wine"
    status=1
fi
wine_env_teardown

step "summary"
python3 "$ROOT/scripts/summarize_results.py" "$RESULTS" || status=1
exit $status
