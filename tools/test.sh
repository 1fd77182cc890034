#!/usr/bin/env bash
# Sets up the machine, builds SPXHK110 and its tests, and runs every test under Wine on a
# virtual display.   Usage: tools/test.sh [BUILD_DIR]   (default: build)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}

"$top/tools/setup-machine.sh"

cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"

. "$top/tools/display.sh"
use_wine_prefix "$build/wineprefix"
start_test_display
trap stop_test_display EXIT
ensure_wine_prefix
# One Wine session for the whole run, instead of one started and stopped for every test program.
# Its background processes must not hold CTest's output pipes open, hence the redirections.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1


ctest --test-dir "$build" --output-on-failure
