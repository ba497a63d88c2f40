#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the include arrows, the host
# tests (sanitizers), a bounded fuzz run of each parser, the Windows tests under Wine on Xvfb and
# the end-to-end tests. Ends with each step's wall time and 'N passed, N failed, N skipped', and
# exits non-zero on any failure.
#   FUZZ_SECONDS   seconds per fuzz target (default 30)
#   WINE_LANES     Wine tests run side by side (default 3, see wine_lanes.sh)
#
# Most of the Wine tests' time is waiting (windows appearing, timers), so the host side (the
# include arrows, the benchmarks' build, the host tests and fuzzing) runs beside them, once both
# trees are built; the tests that measure the machine run last, alone.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
RESULTS=$BUILD/results
FUZZ_SECONDS=${FUZZ_SECONDS:-30}
source "$ROOT/scripts/step_times.sh"
RUN_START=$(now_us)
STEPS=$BUILD/step_times.tsv

# Each step's name and wall time go to $STEPS, for the summary.
STEP_NAME=""
STEP_START=0
step_done() {
    [ -n "$STEP_NAME" ] && printf '%s\t%s\n' "$STEP_NAME" "$(seconds_since "$STEP_START")" >>"$STEPS"
    STEP_NAME=""
}
step() {
    step_done
    STEP_NAME=$*
    STEP_START=$(now_us)
    echo; echo "=== $*"
}

mkdir -p "$BUILD"
: >"$STEPS"
status=0

step "installing dependencies"
"$ROOT/scripts/install_deps.sh" || exit 1

step "building the Windows tree"
"$ROOT/scripts/build.sh" win || exit 1
step "building the host tree"
"$ROOT/scripts/build.sh" host || exit 1
rm -rf "$RESULTS"
mkdir -p "$RESULTS/host" "$RESULTS/win" "$RESULTS/fuzz" "$RESULTS/layers"

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
        return 1
    fi
}

# The host side: its own steps, output and exit code. The benchmarks' build and the host tests
# give way to the Wine tests (nice); the fuzzers run at full priority, so each gets its whole time.
host_side() {
    local s=0
    STEP_NAME=""  # the step that started it is timed by the main shell
    step "include arrows between folders"
    python3 "$ROOT/scripts/check_layers.py" --results "$RESULTS/layers/layers.json" || s=1
    step "building the benchmarks (Windows tree)"
    nice -n 10 cmake --build "$BUILD/win" --target benchmarks || s=1
    step "host tests"
    GTEST_OUTPUT="xml:$RESULTS/host/" nice -n 10 ctest --test-dir "$BUILD/host" --output-on-failure || s=1
    step "fuzzing (${FUZZ_SECONDS} s per target)"
    run_fuzzer json_fuzz "$ROOT/tests/fuzz/json_corpus" "$ROOT/../shared/data/JSONTestSuite/test_parsing" || s=1
    run_fuzzer xml_fuzz "$ROOT/tests/fuzz/xml_corpus" "$ROOT/tests/win/toolkit_skin" || s=1
    run_fuzzer zip_fuzz "$ROOT/tests/fuzz/zip_corpus" || s=1
    step_done
    return $s
}

step "Windows and end-to-end tests under Wine, side by side with the host side"
host_side >"$BUILD/host_side.log" 2>&1 &
host_pid=$!
"$ROOT/scripts/wine_lanes.sh" "$BUILD/win" "$RESULTS/win" || status=1
step_done
echo; echo "=== the host side (include arrows, benchmarks, host tests, fuzzing)"
wait "$host_pid" || status=1
cat "$BUILD/host_side.log"

step "Windows tests that measure the machine, alone"
"$ROOT/scripts/wine_lanes.sh" --alone "$BUILD/win" "$RESULTS/win" || status=1
mv -f "$BUILD"/win/e2e_*.json "$RESULTS/win/" 2>/dev/null
step_done

echo; echo "=== summary"
echo "wall time of each step (the host side's run during the Wine tests):"
awk -F'\t' '{printf "  %-72s %7s s\n", $1, $2}' "$STEPS"
echo "Wine tests, each:"
sort -t$'\t' -k2,2nr "$BUILD/win/test_times.tsv" 2>/dev/null |
    awk -F'\t' '{printf "  %-44s %7s s%s\n", $1, $2, ($3 == 0 ? "" : "  (failed)")}'
echo "whole run: $(seconds_since "$RUN_START") s"
python3 "$ROOT/scripts/summarize_results.py" "$RESULTS" || status=1
exit $status
