# Sourced by the run and test scripts: a display and a Wine prefix inside the build tree.
#   wine_env_setup BUILD_DIR   exports DISPLAY (starting Xvfb, of WINE_ENV_SCREEN pixels or
#                              1920x1080, when none is set), WINEPREFIX (WINE_ENV_PREFIX, or
#                              BUILD_DIR/wineprefix) and friends, prepares the prefix once and
#                              keeps one wineserver alive
#   wine_env_start_server [--fresh]   (re)starts that wineserver with the display at 100 %
#   wine_env_teardown          stops that wineserver and the Xvfb started here

WINE_ENV_XVFB_PID=""

wine_env_start_xvfb() {
    # Xvfb takes the first free display itself and writes its number: runs side by side never
    # race for the same one.
    local numbers
    numbers=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${WINE_ENV_SCREEN:-1920x1080}x24" -noreset -nolisten tcp \
        3>"$numbers" >/dev/null 2>&1 &
    WINE_ENV_XVFB_PID=$!
    local i n
    for i in $(seq 1 100); do
        n=$(tr -dc '0-9' <"$numbers")
        if [ -n "$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
            rm -f "$numbers"
            export DISPLAY=":$n"
            return 0
        fi
        kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$numbers"
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null
    WINE_ENV_XVFB_PID=""
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
    export WINEPREFIX="${WINE_ENV_PREFIX:-$build_dir/wineprefix}"
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
    wine_env_start_server
    return 0
}

# Starts the prefix's wineserver (it may already run) and Wine's background services. With
# --fresh a running server is stopped first, so that nothing earlier programs left (the
# desktop's DPI) carries over.
wine_env_start_server() {
    [ "${1:-}" = --fresh ] && timeout 20 wineserver -k >/dev/null 2>&1
    # One persistent server for the whole run keeps process starts fast.
    wineserver -p 2>/dev/null || true
    # Start Wine's background services now, detached from any output pipe: started by the first
    # test instead, they would inherit its output and hold the test runner's pipe open. A run cut
    # off inside the scaled-display tests leaves their 150 % behind: the display is at 100 % again.
    timeout 120 wine reg delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f </dev/null >/dev/null 2>&1
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
