#!/usr/bin/env bash
# Sets up the machine, builds SPXHK110 and its tests for 32-bit and 64-bit Windows, and runs every
# test of both under Wine (32-bit Wine for the x86 build, 64-bit Wine for the x64 one) on a
# virtual display.   Usage: tools/test.sh [BUILD_DIR]   (default: build; the x64 tree is
# BUILD_DIR-x64)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}

"$top/tools/setup-machine.sh"

"$top/tools/build.sh" "$build"

. "$top/tools/display.sh"
start_test_display
trap stop_test_display EXIT

status=0
for tree in "x86 $build" "x64 $build-x64"; do
    read -r arch dir <<<"$tree"
    echo "== $arch: $dir"
    use_wine_prefix "$dir/wineprefix" "$arch"
    ensure_wine_prefix
    # One Wine session for the whole run, instead of one started and stopped for every test
    # program. Its background processes must not hold CTest's output pipes open, hence the
    # redirections.
    wineserver -p </dev/null >/dev/null 2>&1
    "$SPX_WINE" cmd /c exit </dev/null >/dev/null 2>&1
    ctest --test-dir "$dir" --output-on-failure || status=1
    stop_wine
done
exit $status
