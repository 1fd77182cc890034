# Sourced by tools/test.sh after display.sh: test slots, so that CTest can run several Windows
# programs at once. A slot is a virtual display of one monitor layout with a Wine prefix and a
# running Wine session of its own: two tests that run at once never share a display, a desktop
# (its windows, window classes and hooks) or a prefix. Each Wine test asks CTest for one slot of
# its layout (RESOURCE_GROUPS display_one, display_left or display_above in tests/CMakeLists.txt);
# wine-run.sh then runs the program in the slot CTest gave it.
#
# Prefixes are kept between runs in a per-user cache (SPX_WINE_CACHE, by default
# ~/.cache/spxhk110), one per architecture and slot, so that a fresh clone finds them made; each is
# checked against tools/wine-settings.reg as it is taken (ensure_wine_prefix). A run holds the
# cache of its architecture (and bed) until it ends; a second run at the same time makes its own
# prefixes.

# start_slots ARCH SLOTS_DIR LAYOUT=COUNT...: starts the slots side by side and writes, in
# SLOTS_DIR, one SLOT.env per slot (its DISPLAY, WINEPREFIX and Xvfb) and resources.json,
# the resources CTest allots (the file test.sh hands to ctest).
start_slots() {
    local arch=$1 dir=$2 entry layout count n id json="" ids cache=$spx_wine_cache
    shift 2
    mkdir -p "$dir" "$cache"
    rm -f "$dir"/*.env
    # Another run of this user's holds the cached prefixes (a second clone testing at the same
    # time): this one makes its own in the build tree rather than share a Wine session. The Wine 10
    # bed's slots, started apart from the others, have a lock of their own.
    local bed=
    [[ ${1:-} != wine10_* ]] || bed=-wine10
    exec {spx_slots_lock}>"$cache/wine-$arch$bed.lock"
    if ! flock -n "$spx_slots_lock"; then
        echo "the cached $arch Wine prefixes are in use by another run: using $dir/prefixes"
        cache=$dir/prefixes
        mkdir -p "$cache"
    fi
    for entry in "$@"; do
        layout=${entry%=*}
        count=${entry#*=}
        ids=""
        for n in $(seq 1 "$count"); do
            id=$layout$n
            SPX_PREFIX_TEMPLATE=$cache/template-$arch$bed \
                start_slot "$arch" "$layout" "$cache/wine-$arch-$id" "$dir/$id.env" &
            ids+="${ids:+,}{\"id\":\"$id\",\"slots\":1}"
        done
        json+="${json:+,}\"display_$layout\":[$ids]"
    done
    local status=0
    wait || status=$?
    # The prefixes are made: their template goes.
    rm -rf "$cache/template-$arch$bed" "$cache/template-$arch$bed.lock"
    for entry in "$@"; do
        layout=${entry%=*}
        for n in $(seq 1 "${entry#*=}"); do
            [ -s "$dir/$layout$n.env" ] || status=1
        done
    done
    printf '{"version":{"major":1,"minor":0},"local":[{%s}]}\n' "$json" >"$dir/resources.json"
    return $status
}

# start_slot ARCH LAYOUT PREFIX ENV_FILE: one slot's display, prefix and session.
start_slot() {
    local arch=$1 layout=$2 prefix=$3 env_file=$4
    # The display and the session outlive this call: they must not hold the cache's lock.
    [ -n "${spx_slots_lock:-}" ] && exec {spx_slots_lock}>&-
    use_layout "$layout"
    launch_xvfb "$layout" || return 1
    use_wine_prefix "$prefix" "$arch"
    # A session left on this prefix by a run that was killed holds a display that is gone.
    stop_wine
    ensure_wine_prefix
    # The session's background processes must not hold CTest's output pipes open.
    spx_bed wineserver -p </dev/null >/dev/null 2>&1
    spx_bed "$SPX_WINE" cmd /c exit </dev/null >/dev/null 2>&1
    printf 'export DISPLAY=%s WINEPREFIX=%s SPX_WINE10_ROOT=%s\nSPX_XVFB_PID=%s\n' "$DISPLAY" \
        "$WINEPREFIX" "$SPX_WINE10_ROOT" "$SPX_XVFB_PID" >"$env_file"
}

# stop_slots SLOTS_DIR: Wine, then the display, of every slot started there.
stop_slots() {
    local env_file
    for env_file in "$1"/*.env; do
        [ -f "$env_file" ] || continue
        (
            . "$env_file"
            stop_wine
            kill "$SPX_XVFB_PID" >/dev/null 2>&1 || true
        ) &
    done
    wait
    rm -f "$1"/*.env
}

# use_slot: under CTest with slots, points DISPLAY and WINEPREFIX at the slot CTest allotted to
# this test (CTEST_RESOURCE_GROUP_0 names its layout, CTEST_RESOURCE_GROUP_0_<LAYOUT> its id) and
# returns 0; returns 1 when no slot was allotted.
use_slot() {
    [ -n "${SPX_SLOTS_DIR:-}" ] && [ -n "${CTEST_RESOURCE_GROUP_0:-}" ] || return 1
    local var id
    var=CTEST_RESOURCE_GROUP_0_$(tr '[:lower:]' '[:upper:]' <<<"$CTEST_RESOURCE_GROUP_0")
    id=${!var:-}
    id=${id#id:}
    id=${id%%,*}
    [ -f "$SPX_SLOTS_DIR/$id.env" ] || return 1
    . "$SPX_SLOTS_DIR/$id.env"
    export SPX_DISPLAY_READY=1
}
