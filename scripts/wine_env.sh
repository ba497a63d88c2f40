# Sourced by the run and test scripts: a display and a Wine prefix inside the build tree.
#   wine_env_setup BUILD_DIR   exports DISPLAY (starting Xvfb, of WINE_ENV_SCREEN pixels or
#                              1920x1080, when none is set), WINEPREFIX and
#                              friends, prepares the prefix once and keeps one wineserver alive
#   wine_env_teardown          stops that wineserver and the Xvfb started here

WINE_ENV_XVFB_PID=""

wine_env_start_xvfb() {
    local n
    for n in $(seq 90 119); do
        [ -e "/tmp/.X${n}-lock" ] && continue
        Xvfb ":$n" -screen 0 "${WINE_ENV_SCREEN:-1920x1080}x24" -noreset -nolisten tcp >/dev/null 2>&1 &
        WINE_ENV_XVFB_PID=$!
        local i
        for i in $(seq 1 50); do
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null || break
            sleep 0.2
        done
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null
        WINE_ENV_XVFB_PID=""
    done
    echo "wine_env: could not start Xvfb" >&2
    return 1
}

wine_env_setup() {
    local build_dir
    build_dir=$(mkdir -p "$1" && cd "$1" && pwd)
    local script_dir
    script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    if [ -z "${DISPLAY:-}" ]; then
        wine_env_start_xvfb || return 1
    fi
    export WINEPREFIX="$build_dir/wineprefix"
    export WINEARCH=win32
    export WINEDEBUG=-all
    # No Mono or Gecko install prompts while the prefix is made.
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    if [ ! -f "$WINEPREFIX/.screenshot_ready" ]; then
        echo "wine_env: preparing $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        mkdir -p "$build_dir"
        timeout 300 wineboot --init >/dev/null 2>&1
        timeout 60 wineserver -w
        python3 - "$script_dir/wine_prefix.reg.txt" "$build_dir/wine_prefix.reg" <<'PY'
import sys
text = open(sys.argv[1], encoding="utf-8").read().replace("\n", "\r\n")
open(sys.argv[2], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
        timeout 60 wine regedit /S "$(winepath -w "$build_dir/wine_prefix.reg")" >/dev/null 2>&1
        timeout 60 wineserver -w
        touch "$WINEPREFIX/.screenshot_ready"
    fi
    # One persistent server for the whole run keeps process starts fast (it may already run).
    wineserver -p 2>/dev/null || true
    # Start Wine's background services now, detached from any output pipe: started by the first
    # test instead, they would inherit its output and hold the test runner's pipe open.
    timeout 120 wine cmd /c exit </dev/null >/dev/null 2>&1
    return 0
}

# Stops a process, waiting at most about five seconds before killing it outright.
wine_env_stop_pid() {
    local pid=$1 i
    kill "$pid" 2>/dev/null || return 0
    for i in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
    return 0
}

wine_env_teardown() {
    [ -n "${WINEPREFIX:-}" ] && timeout 20 wineserver -k >/dev/null 2>&1
    if [ -n "$WINE_ENV_XVFB_PID" ]; then
        wine_env_stop_pid "$WINE_ENV_XVFB_PID"
        WINE_ENV_XVFB_PID=""
    fi
    return 0
}
