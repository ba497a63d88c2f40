#!/usr/bin/env bash
# Runs the Windows and end-to-end tests of a build tree under Wine, several at a time: each lane
# has its own Xvfb display, Wine prefix and wineserver, and takes the next test from a shared
# queue (longest first) until none is left, so that one test's waiting overlaps another's. The
# tests that measure the machine are left out: with --alone only they run, one after another.
#   scripts/wine_lanes.sh [--alone] BUILD_WIN RESULTS_WIN
#   WINE_LANES   how many lanes (default 3)
# Writes each test's wall time to BUILD_WIN/test_times.tsv ("name<TAB>seconds<TAB>exit code";
# started afresh by a run of the lanes, added to by --alone) and each lane's output to
# BUILD_WIN/lane-N.log, printed when the lane is done. Exit code 0 only when every test passed.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ALONE_ONLY=false
if [ "${1:-}" = --alone ]; then ALONE_ONLY=true; shift; fi
BUILD_WIN=$(cd "$1" && pwd)
RESULTS_WIN=$(mkdir -p "$2" && cd "$2" && pwd)
LANES=${WINE_LANES:-3}
QUEUE=$BUILD_WIN/test_queue
TIMES=$BUILD_WIN/test_times.tsv
source "$ROOT/scripts/wine_env.sh"
source "$ROOT/scripts/step_times.sh"

# Longest first, from measured runs; a test not named here is queued after these. Tests that
# share a file beside the executables (config.json) are one job, run one after the other.
ORDER=(
    e2e_test_program
    e2e_test_update
    capture_tests
    e2e_test_scaled_display
    "windows_tests win_tests"
    e2e_test_installer
    e2e_test_dialogs
    services_tests
    toolbar_tests
    toolkit_tests
    e2e_test_planted_dlls
    e2e_test_windows_imports
    e2e_test_harness_probe
    feedback_send_tests
    skin_tests
    core_tests_wine
)
# Set the prefix's display to 150 % while they run: their lane's wineserver starts afresh after
# them, so that Wine's desktop process does not keep that DPI for the tests that follow.
FRESH_SERVER_AFTER=(e2e_test_scaled_display)
# Measure the machine: run alone, after the lanes.
ALONE=(capture_soak_tests)

all_tests() { ctest --test-dir "$BUILD_WIN" -N | sed -n 's/^ *Test *#[0-9]*: *//p'; }

run_test() {
    local name=$1 start rc
    start=$(now_us)
    GTEST_OUTPUT="xml:$(winepath -w "$RESULTS_WIN")\\" \
        ctest --test-dir "$BUILD_WIN" -R "^${name}\$" --output-on-failure --timeout 600
    rc=$?
    printf '%s\t%s\t%d\n' "$name" "$(seconds_since "$start")" "$rc" >>"$TIMES"
    return $rc
}

lane() {
    local id=$1 status=0 job name
    unset DISPLAY
    export WINE_ENV_PREFIX=$BUILD_WIN/wineprefix
    [ "$id" -gt 1 ] && WINE_ENV_PREFIX=$BUILD_WIN/wineprefix-lane$id
    wine_env_setup "$BUILD_WIN" || return 1
    for job in "$QUEUE"/[0-9]*; do
        # Taking a job is moving it out of the queue: only one lane can.
        mv "$job" "$QUEUE/taken/lane$id-${job##*/}" 2>/dev/null || continue
        while read -r name; do
            run_test "$name" || status=1
            [[ " ${FRESH_SERVER_AFTER[*]} " == *" $name "* ]] && wine_env_start_server --fresh
        done <"$QUEUE/taken/lane$id-${job##*/}"
    done
    wine_env_teardown
    return $status
}

known=" $(all_tests | tr '\n' ' ') "

if $ALONE_ONLY; then
    unset DISPLAY
    export WINE_ENV_PREFIX=$BUILD_WIN/wineprefix
    wine_env_setup "$BUILD_WIN" || exit 1
    status=0
    for name in "${ALONE[@]}"; do
        [[ $known == *" $name "* ]] && { run_test "$name" || status=1; }
    done
    wine_env_teardown
    exit $status
fi

# Every lane's prefix is ready before any starts: the first made as usual, the others copied.
(WINE_ENV_PREFIX=$BUILD_WIN/wineprefix; unset DISPLAY; wine_env_setup "$BUILD_WIN" >/dev/null && wine_env_teardown) || exit 1
for id in $(seq 2 "$LANES"); do
    copy=$BUILD_WIN/wineprefix-lane$id
    if [ ! -f "$copy/.screenshot_ready" ] || [ "$copy/.screenshot_ready" -ot "$BUILD_WIN/wineprefix/.screenshot_ready" ]; then
        rm -rf "$copy"
        cp -a "$BUILD_WIN/wineprefix" "$copy"
    fi
done

rm -rf "$QUEUE"
mkdir -p "$QUEUE/taken"
: >"$TIMES"
queued=" "
n=0
add_job() {
    n=$((n + 1))
    printf '%s\n' "$@" >"$QUEUE/$(printf '%03d' "$n")"
    local t
    for t in "$@"; do queued+="$t "; done
}
for job in "${ORDER[@]}"; do
    present=()
    for t in $job; do [[ $known == *" $t "* ]] && present+=("$t"); done
    [ ${#present[@]} -gt 0 ] && add_job "${present[@]}"
done
for t in $known; do
    [[ $queued == *" $t "* ]] || [[ " ${ALONE[*]} " == *" $t "* ]] || add_job "$t"
done

status=0
pids=()
for id in $(seq 1 "$LANES"); do
    lane "$id" >"$BUILD_WIN/lane-$id.log" 2>&1 &
    pids+=($!)
done
for id in $(seq 1 "$LANES"); do
    wait "${pids[$((id - 1))]}" || status=1
    echo "--- lane $id"
    cat "$BUILD_WIN/lane-$id.log"
done
exit $status
