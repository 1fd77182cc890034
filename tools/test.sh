#!/usr/bin/env bash
# Sets up the machine, builds SPXHK110 and its tests for 32-bit and 64-bit Windows, and runs every
# test of both under Wine (32-bit Wine for the x86 build, 64-bit Wine for the x64 one) on virtual
# displays, and says how long it all took.
#   Usage: tools/test.sh [--quick] [BUILD_DIR]   (default: build; the x64 tree is BUILD_DIR-x64)
#   --quick: the in-process tables and one end-to-end run (low-level hooks, one monitor) per
#            architecture, for a check while working; without it, every entry on every bed, the
#            Wine 10 bed's too (its root is made meanwhile: setup-machine.sh --wine10).
# The two architectures run at the same time, each on test slots of its own (tools/wine-slots.sh):
# SPX_TEST_SLOTS sets how many displays of each layout an architecture gets (default below), and
# SPX_WINE10_SLOTS those of the Wine 10 bed's layouts.
set -euo pipefail

started=$(date +%s)
top=$(cd "$(dirname "$0")/.." && pwd)
quick=
if [ "${1:-}" = --quick ]; then
    quick=1
    shift
fi
build=${1:-$top/build}
slots=${SPX_TEST_SLOTS:-one=2 left=2 above=2}
slots10=${SPX_WINE10_SLOTS:-wine10_one=2 wine10_144_one=1 wine10_144_left=1}
status=0

# The Wine 10 bed's root is made while the rest installs, the trees build and the other entries
# run; the bed's own entries run once it is there. What makes it is installed first.
wine10=
if [ -z "$quick" ]; then
    "$top/tools/setup-machine.sh" --bed-only
    mkdir -p "$build"
    rm -f "$build/wine10-ready"
    ("$top/tools/setup-machine.sh" --bed-only --wine10 && touch "$build/wine10-ready") \
        >"$build/wine10-root.log" 2>&1 </dev/null &
    wine10=$!
fi
"$top/tools/setup-machine.sh"

. "$top/tools/display.sh"
. "$top/tools/wine-slots.sh"

# run_tree ARCH DIR [wine10]: the tree's tests on slots of their own, CTest's output in
# DIR/test.log; with wine10, its Wine 10 entries alone once the root is made (DIR/test-wine10.log).
run_tree() {
    local arch=$1 dir=$2 bed=${3:-}
    local args=(--test-dir "$dir" --output-on-failure) n=0 entry layouts=$slots
    local leave_out=${quick:+full}
    [ -n "$leave_out$bed" ] || leave_out=wine10
    if [ "$arch" = x86 ] && ! runs_32bit_wine; then
        echo "NOT RUN: this machine runs no 32-bit programs (its kernel has 32-bit emulation off);" \
            "the x86 build's Wine entries are skipped (their programs not built), its other" \
            "checks run"
        ctest "${args[@]}" -LE "wine${leave_out:+|$leave_out}"
        return
    fi
    [ -z "$leave_out" ] || args+=(-LE "$leave_out")
    [ "$arch" = x64 ] || [ -n "$quick" ] ||
        echo "NOT RUN: the x86 build's Wine 10 entries (the Wine 10 root holds no 32-bit Wine)"
    if [ -n "$bed" ]; then
        while kill -0 "$wine10" 2>/dev/null; do
            sleep 1
        done
        [ -f "$build/wine10-ready" ] || {
            echo "the Wine 10 root could not be made (see $build/wine10-root.log)"
            return 1
        }
        args+=(-L wine10)
        layouts=$slots10
    fi
    for entry in $layouts; do
        n=$((n + ${entry#*=}))
    done
    start_slots "$arch" "$dir/slots${bed:+-$bed}" $layouts || {
        echo "the $arch test displays did not start"
        stop_slots "$dir/slots${bed:+-$bed}"
        return 1
    }
    local status=0
    SPX_SLOTS_DIR=$dir/slots${bed:+-$bed} ctest "${args[@]}" -j"$n" \
        --resource-spec-file "$dir/slots${bed:+-$bed}/resources.json" || status=1
    stop_slots "$dir/slots${bed:+-$bed}"
    return $status
}

# start_tree ARCH DIR [wine10]: run_tree in the background, its output in the tree's log.
declare -A pid_of
start_tree() {
    run_tree "$@" >"$2/test${3:+-$3}.log" 2>&1 </dev/null &
    pid_of[$*]=$!
}

# The x64 tree's entries start as soon as it is built (its slots' prefixes, which the cache keeps,
# are made meanwhile where they are missing); the x86 tree builds after it, giving way to them.
mkdir -p "$build-x64"
(start_slots x64 "$build-x64/slots-made" $slots || true; stop_slots "$build-x64/slots-made") \
    >/dev/null 2>&1 </dev/null &
made=$!
SPX_BUILD_ARCH=x64 "$top/tools/build.sh" "$build"
wait "$made" || true
start_tree x64 "$build-x64"
[ -z "$wine10" ] || start_tree x64 "$build-x64" wine10
# Where no 32-bit program runs, the x86 tree builds what ships and what its checks use, and none of
# the test programs that could not run.
x86_targets=()
runs_32bit_wine ||
    x86_targets=(--target SPXHK110 spxdemo spxdesk minimal_host drag_driver msvc_import_lib)
if SPX_BUILD_ARCH=x86 nice "$top/tools/build.sh" "$build" "${x86_targets[@]}"; then
    start_tree x86 "$build"
else
    echo "the x86 tree did not build" >"$build/test.log"
fi
for tree in "x86 $build" "x64 $build-x64" ${wine10:+"x64 $build-x64 wine10"}; do
    read -r arch dir bed <<<"$tree"
    wait "${pid_of[$tree]:-none}" 2>/dev/null || status=1
    echo "== $arch${bed:+ $bed}: $dir"
    cat "$dir/test${bed:+-$bed}.log"
done
elapsed=$(($(date +%s) - started))
printf 'tools/test.sh%s: %d min %02d s in all, building included\n' "${quick:+ --quick}" \
    $((elapsed / 60)) $((elapsed % 60))
exit $status
