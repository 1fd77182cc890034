#!/usr/bin/env bash
# The demo: installs what is missing, builds, starts a virtual display with a small sample
# desktop on it, and plays the bundled scripts through the sample host spxdemo.exe under Wine.
# Leaves the cropped PNGs, a snapshot of the screen after every step and one animation of the
# whole session in the output folder, and prints the JSON line of every selection.
#   tools/demo.sh [OUTDIR]      (default OUTDIR: build/demo)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
out=$build/demo
for arg in "$@"; do
    case $arg in
    -*)
        echo "demo.sh: unknown option $arg (usage: tools/demo.sh [OUTDIR])" >&2
        exit 2
        ;;
    *) out=$arg ;;
    esac
done

# Each section: a name (its script is demo/scripts/NAME.txt) and the options spxdemo runs it with.
sections=(
    "rectangle --mode rectangle --adjust"
    "ellipse --mode ellipse --adjust"
    "polygon --mode polygon --adjust"
    "window --mode window --highlight"
)

"$top/tools/setup-machine.sh" --demo
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target spxdemo spxdesk >/dev/null

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -rf "$out/images" "$out/snapshots" "$out/session.gif" "$out/selections.jsonl"
mkdir -p "$out/images" "$out/snapshots"

. "$top/tools/display.sh"
use_wine_prefix "$build/wineprefix"
start_test_display
trap stop_test_display EXIT
ensure_wine_prefix
wineserver -p </dev/null >/dev/null 2>&1

started=$(date +%s)
# The sample desktop stays on the screen for the whole session; it says when it is up.
ready=$out/.desktop-ready
rm -f "$ready"
wine "$build/bin/spxdesk.exe" "$ready" </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 200); do
    [ -f "$ready" ] && break
    sleep 0.1
done
rm -f "$ready"
sleep 0.5

status=0
n=0
for section in "${sections[@]}"; do
    read -r name options <<<"$section"
    n=$((n + 1))
    echo "demo: $n. $name" >&2
    # shellcheck disable=SC2086
    if ! wine "$build/bin/spxdemo.exe" $options --script "$top/demo/scripts/$name.txt" \
        --snapshots "$out/snapshots/$n-$name" --out "$out/images" \
        </dev/null | tr -d '\r' >>"$out/selections.jsonl"; then
        echo "demo: the $name section failed" >&2
        status=1
    fi
done

# One animation of the whole session: every snapshot in order, the last of each section held.
frames=()
for dir in "$out"/snapshots/*/; do
    shots=("$dir"step-*.png)
    [ -e "${shots[0]}" ] || continue
    frames+=(-delay 12 "${shots[@]:0:${#shots[@]}-1}" -delay 150 "${shots[-1]}")
done
if [ ${#frames[@]} -gt 0 ]; then
    convert -loop 0 "${frames[@]}" -layers Optimize "$out/session.gif"
fi

cat "$out/selections.jsonl"
echo
echo "Selections (PNG):     $out/images"
echo "Step snapshots (PNG): $out/snapshots"
echo "Animation:            $out/session.gif"
echo "JSON lines:           $out/selections.jsonl"
echo "Took $(($(date +%s) - started)) s after the build."
exit $status
