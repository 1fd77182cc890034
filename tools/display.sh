# Sourced by the scripts that run Windows programs: one Xvfb and one Wine session, so that the
# Wine prefix, its desktop and every program share one live display.

# use_wine_prefix DIR [x86|x64]: a 32-bit prefix run by 32-bit Wine, or a 64-bit one run by
# 64-bit Wine (which runs 32-bit programs too). SPX_WINE is the loader to run programs with.
use_wine_prefix() {
    mkdir -p "$1"
    WINEPREFIX=$(cd "$1" && pwd)
    export WINEPREFIX
    if [ "${2:-x86}" = x64 ]; then
        export WINEARCH=win64 SPX_WINE=/usr/lib/wine/wine64
    else
        export WINEARCH=win32 SPX_WINE=wine
    fi
    export WINEDEBUG=${WINEDEBUG:--all}
    # No Mono or Gecko installers: nothing here needs them, and their dialogs would wait forever.
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
    # A whole-screen read brings several megabytes through Xlib: taken from the heap and kept
    # there, not mapped afresh (and faulted in page by page) for every read.
    export GLIBC_TUNABLES=${GLIBC_TUNABLES:-glibc.malloc.mmap_threshold=67108864:glibc.malloc.trim_threshold=268435456}
}

# Creates and configures the prefix on first use, under the current display; later calls return
# at once.
ensure_wine_prefix() {
    local settings
    settings=$(dirname "${BASH_SOURCE[0]}")/wine-settings.reg
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            "$SPX_WINE" wineboot -i >/dev/null 2>&1
            wineserver -w
        fi
        if ! cmp -s "$settings" "$WINEPREFIX/spx-settings.reg"; then
            "$SPX_WINE" regedit "$settings" >/dev/null 2>&1
            wineserver -w
            cp "$settings" "$WINEPREFIX/spx-settings.reg"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Whether this machine runs 32-bit Wine: a kernel built without 32-bit support, or with it turned
# off (ia32_emulation=off), runs no 32-bit program at all.
runs_32bit_wine() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

stop_wine() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}

# Starts a private Xvfb and points DISPLAY at it. Wine is stopped first: a wineserver left from
# an earlier run may hold a desktop on a display that is gone.
#   start_test_display [one|left|above]
start_test_display() {
    stop_wine
    launch_xvfb "${1:-one}" || return 1
    export SPX_DISPLAY_READY=1
}

# launch_xvfb LAYOUT: starts an Xvfb of that monitor layout; exports DISPLAY and sets
# SPX_XVFB_PID.
# one: a single 1024x768 monitor. left, above: a second monitor of 800x600 left of or above the
# 1024x768 primary, so that the virtual screen runs from (-800,0) or from (0,-600): one Xvfb screen
# as large as both, split into two RandR monitors, which Wine reads through Xinerama.
launch_xvfb() {
    local layout=$1 size monitors=()
    case "$layout" in
    one) size=1024x768 ;;
    left)
        size=1824x768
        monitors=("*MAIN 1024/271x768/203+800+0 screen" "LEFT 800/141x600/106+0+0 none")
        ;;
    above)
        size=1024x1368
        monitors=("*MAIN 1024/271x768/203+0+600 screen" "TOP 1024/271x600/159+0+0 none")
        ;;
    *)
        echo "unknown monitor layout '$layout' (one, left or above)" >&2
        return 1
        ;;
    esac
    local fdfile
    fdfile=$(mktemp)
    # -noreset: the monitors set below would go with a server reset.
    Xvfb -displayfd 3 -noreset -screen 0 "${size}x24" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    SPX_XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.05
    done
    DISPLAY=:$(tr -d '\n' <"$fdfile")
    rm -f "$fdfile"
    export DISPLAY
    if [ "$DISPLAY" = ":" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    local monitor args
    for monitor in "${monitors[@]}"; do
        read -ra args <<<"$monitor"
        xrandr --setmonitor "${args[@]}" >/dev/null || return 1
    done
}

# Wine goes before its display does.
stop_test_display() {
    stop_wine
    if [ -n "${SPX_XVFB_PID:-}" ]; then
        kill "$SPX_XVFB_PID" >/dev/null 2>&1 || true
        wait "$SPX_XVFB_PID" 2>/dev/null || true
    fi
}
