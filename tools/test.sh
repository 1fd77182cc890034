#!/usr/bin/env bash
# Sets up the machine, builds SPXHK110 and its tests for 32-bit and 64-bit Windows, and runs every
# test of both under Wine (32-bit Wine for the x86 build, 64-bit Wine for the x64 one) on virtual
# displays, and says how long it all took.
#   Usage: tools/test.sh [--quick] [BUILD_DIR]   (default: build; the x64 tree is BUILD_DIR-x64)
#   --quick: the in-process tables and one end-to-end run (low-level hooks, one monitor) per
#            architecture, for a check while working; without it, every entry on every bed, the
#            Wine 10 bed's too (its root is made while the trees build: setup-machine.sh --wine10).
# The two architectures run at the same time, each on test slots of its own (tools/wine-slots.sh):
# SPX_TEST_SLOTS sets how many displays of each layout an architecture gets (default below).
set -euo pipefail

started=$(date +%s)
top=$(cd "$(dirname "$0")/.." && pwd)
quick=
if [ "${1:-}" = --quick ]; then
    quick=1
    shift
fi
build=${1:-$top/build}
slots=${SPX_TEST_SLOTS:-one=2 left=1 above=1 wine10_one=2 wine10_144_one=1 wine10_144_left=1}
status=0

"$top/tools/setup-machine.sh"

. "$top/tools/display.sh"
. "$top/tools/wine-slots.sh"

# While the trees build: the Wine 10 root, then the x64 slots' prefixes, which the cache keeps.
wine10=
if [ -z "$quick" ]; then
    mkdir -p "$build"
    (
        "$top/tools/setup-machine.sh" --wine10 || exit 1
        start_slots x64 "$build/slots-made" $slots || true
        stop_slots "$build/slots-made"
    ) >"$build/wine10-root.log" 2>&1 </dev/null &
    wine10=$!
fi
"$top/tools/build.sh" "$build"
if [ -n "$wine10" ] && ! wait "$wine10"; then
    echo "the Wine 10 root could not be made (see $build/wine10-root.log): its entries do not run"
    wine10=
    status=1
fi

# run_tree ARCH DIR: the tree's tests on slots of its own; CTest's output goes to DIR/test.log.
run_tree() {
    local arch=$1 dir=$2 args=(--test-dir "$dir" --output-on-failure)
    [ -n "$quick" ] && args+=(-LE full)
    if [ "$arch" = x86 ] && ! runs_32bit_wine; then
        echo "NOT RUN: this machine runs no 32-bit programs (its kernel has 32-bit emulation off);" \
            "the x86 build's Wine entries are skipped, its other checks run"
        ctest "${args[@]}" -LE wine
        return
    fi
    # The Wine 10 root holds 64-bit Wine only.
    local run10=$wine10 n=0 entry layouts=()
    if [ "$arch" = x86 ] && [ -n "$wine10" ]; then
        echo "NOT RUN: the x86 build's Wine 10 entries (the Wine 10 root holds no 32-bit Wine)"
        run10=
    fi
    [ -n "$run10" ] || [ -n "$quick" ] || args+=(-LE wine10)
    for entry in $slots; do
        [ -n "$run10" ] || [[ $entry != wine10_* ]] || continue
        layouts+=("$entry")
        n=$((n + ${entry#*=}))
    done
    start_slots "$arch" "$dir/slots" "${layouts[@]}" || {
        echo "the $arch test displays did not start"
        stop_slots "$dir/slots"
        return 1
    }
    local status=0
    SPX_SLOTS_DIR=$dir/slots ctest "${args[@]}" -j"$n" \
        --resource-spec-file "$dir/slots/resources.json" || status=1
    stop_slots "$dir/slots"
    return $status
}

pids=()
for tree in "x86 $build" "x64 $build-x64"; do
    read -r arch dir <<<"$tree"
    run_tree "$arch" "$dir" >"$dir/test.log" 2>&1 </dev/null &
    pids+=($!)
done
for tree in "x86 $build" "x64 $build-x64"; do
    read -r arch dir <<<"$tree"
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
    echo "== $arch: $dir"
    cat "$dir/test.log"
done
elapsed=$(($(date +%s) - started))
printf 'tools/test.sh%s: %d min %02d s in all, building included\n' "${quick:+ --quick}" \
    $((elapsed / 60)) $((elapsed % 60))
exit $status
