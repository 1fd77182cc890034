# Sourced by the scripts that run Windows programs: one Xvfb and one Wine session, so that the
# Wine prefix, its desktop and every program share one live display.

spx_wine_cache=${SPX_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/spxhk110}

# use_layout LAYOUT: a layout names the monitors (one, left, above) on this machine's Wine or, begun
# with wine10_, on the Wine 10 bed, at 96 DPI unless another follows (wine10_144_left). Points
# SPX_WINE10_ROOT at the bed's root (made by setup-machine.sh --wine10) or clears it; sets SPX_DPI.
use_layout() {
    SPX_WINE10_ROOT= SPX_DPI=
    case $1 in wine10_*) SPX_WINE10_ROOT=$spx_wine_cache/wine10-root SPX_DPI=96 ;; esac
    case $1 in wine10_[0-9]*_*) SPX_DPI=${1#wine10_} SPX_DPI=${SPX_DPI%%_*} ;; esac
    export SPX_WINE10_ROOT SPX_DPI
}

# spx_bed COMMAND [ARGS...]: COMMAND from this machine or, with SPX_WINE10_ROOT set, from the
# Wine 10 root, whose /usr and /etc are laid over this machine's for COMMAND alone (bwrap undoes
# it): every other folder (the clone, the prefixes, /tmp, the X server's sockets) is the machine's.
spx_bed() {
    [ -n "${SPX_WINE10_ROOT:-}" ] || { "$@"; return; }
    [ -d "$SPX_WINE10_ROOT/usr" ] || { echo "no root: setup-machine.sh --wine10" >&2 && return 1; }
    bwrap --bind / / --ro-bind "$SPX_WINE10_ROOT/usr" /usr --ro-bind "$SPX_WINE10_ROOT/etc" /etc \
        "$@"
}

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
# at once. A Wine 10 prefix reads its monitors through RandR (see launch_xvfb) and gets the DPI of
# SPX_DPI, by which Wine 10 scales the screen that programs unaware of DPI see.
ensure_wine_prefix() {
    local settings new=$WINEPREFIX/spx-settings.new
    settings=$(dirname "${BASH_SOURCE[0]}")/wine-settings.reg
    (
        flock 9
        cat "$settings" >"$new"
        [ -z "${SPX_WINE10_ROOT:-}" ] ||
            printf '\n[HKEY_CURRENT_USER\\%s]\n%s\n' 'Software\Wine\X11 Driver' '"UseXRandR"="Y"' \
                'Control Panel\Desktop' "\"LogPixels\"=dword:$(printf %08x "$SPX_DPI")" >>"$new"
        if [ ! -f "$WINEPREFIX/system.reg" ] && [ -n "${SPX_PREFIX_TEMPLATE:-}" ]; then
            make_prefix_template "$SPX_PREFIX_TEMPLATE" &&
                cp -a "$SPX_PREFIX_TEMPLATE/." "$WINEPREFIX/"
        fi
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            spx_bed "$SPX_WINE" wineboot -i >/dev/null 2>&1
            spx_bed wineserver -w
        fi
        if ! cmp -s "$new" "$WINEPREFIX/spx-settings.reg"; then
            spx_bed "$SPX_WINE" regedit "$new" >/dev/null 2>&1
            spx_bed wineserver -w
            mv "$new" "$WINEPREFIX/spx-settings.reg"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# make_prefix_template DIR: a prefix just booted, with none of this project's settings, for the
# slots that need a prefix at the same time to copy (a copy takes a second, a boot many seconds of
# CPU). The first caller boots it; the others wait for it.
make_prefix_template() {
    local template=$1
    (
        flock 8
        [ -f "$template/system.reg" ] && exit 0
        rm -rf "$template.new"
        mkdir -p "$template.new"
        WINEPREFIX=$(cd "$template.new" && pwd)
        spx_bed "$SPX_WINE" wineboot -i >/dev/null 2>&1
        spx_bed wineserver -w
        [ -f "$WINEPREFIX/system.reg" ] && mv "$template.new" "$template"
    ) 8>"$template.lock"
}

# Whether this machine runs 32-bit Wine: a kernel built without 32-bit support, or with it turned
# off (ia32_emulation=off), runs no 32-bit program at all.
runs_32bit_wine() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

stop_wine() {
    spx_bed wineserver -k >/dev/null 2>&1 || true
    spx_bed wineserver -w >/dev/null 2>&1 || true
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
# Wine 10 gives a monitor beside the primary a mode only when it is a RandR output, and Xvfb has
# one: the Wine 10 bed's display (wine10_ layouts) is the root's X server with the dummy driver
# instead, one output per monitor (see xorg_dummy_conf).
launch_xvfb() {
    local layout=${1##*_} size monitors=()
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
    local fdfile server=(Xvfb -screen 0 "${size}x24")
    fdfile=$(mktemp)
    if [ -n "${SPX_WINE10_ROOT:-}" ]; then
        [ ${#monitors[@]} -gt 0 ] || monitors=("*MAIN 1024/271x768/203+0+0")
        xorg_dummy_conf "$size" >"$fdfile.conf"
        server=(spx_bed --info-fd 4 /usr/lib/xorg/Xorg -config "$fdfile.conf" -logfile "$fdfile.log"
            -novtswitch)
    fi
    # -noreset: the monitors set below would go with a server reset.
    "${server[@]}" -displayfd 3 -noreset -nolisten tcp 3>"$fdfile" 4>"$fdfile.info" >/dev/null \
        2>&1 &
    SPX_XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.05
    done
    DISPLAY=:$(tr -d '\n' <"$fdfile")
    # The bed's server runs under bwrap, which says the server's own process id.
    [ -z "${SPX_WINE10_ROOT:-}" ] ||
        SPX_XVFB_PID=$(grep -o '"child-pid": *[0-9]*' "$fdfile.info" | tr -dc 0-9)
    rm -f "$fdfile" "$fdfile".*
    export DISPLAY
    if [ "$DISPLAY" = ":" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    local monitor args g n=0 outputs=(--fb "$size")
    for monitor in "${monitors[@]}"; do
        read -ra args <<<"$monitor"
        if [ -z "${SPX_WINE10_ROOT:-}" ]; then
            xrandr --setmonitor "${args[@]}" >/dev/null || return 1
            continue
        fi
        g=$(sed 's|/[0-9]*||g' <<<"${args[1]}") # 1024x768+800+0
        [ $n -eq 0 ] || xrandr --addmode DUMMY$n "${g%%+*}" || return 1
        outputs+=(--output DUMMY$n --mode "${g%%+*}" --pos "$(tr + x <<<"${g#*+}")")
        [ "${args[0]:0:1}" != "*" ] || outputs+=(--primary)
        n=$((n + 1))
    done
    [ $n -eq 0 ] && return
    # Asked again, the server probes the outputs: Wine reads what the last probe found.
    xrandr "${outputs[@]}" && xrandr >/dev/null
}

# xorg_dummy_conf SIZE: the dummy driver's configuration, a screen of SIZE, outputs of 1024x768 or
# 800x600 (the monitors' sizes).
xorg_dummy_conf() {
    printf 'Section "Monitor"\n Identifier "m"\n HorizSync 1-999\n VertRefresh 1-99\nEndSection\n'
    printf 'Section "Device"\n Identifier "d"\n Driver "dummy"\n VideoRam 65536\nEndSection\n'
    printf 'Section "Screen"\n Identifier "s"\n Device "d"\n Monitor "m"\n DefaultDepth 24\n'
    printf ' SubSection "Display"\n  Modes "1024x768" "800x600"\n  Virtual %s\n EndSubSection\n' \
        "${1/x/ }"
    printf 'EndSection\n'
}

# Wine goes before its display does.
stop_test_display() {
    stop_wine
    if [ -n "${SPX_XVFB_PID:-}" ]; then
        kill "$SPX_XVFB_PID" >/dev/null 2>&1 || true
        wait "$SPX_XVFB_PID" 2>/dev/null || true
    fi
}
