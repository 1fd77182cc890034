#!/usr/bin/env bash
# The demo: installs what is missing, builds, starts a virtual display with a small sample
# desktop on it, and plays the bundled scripts through the sample host spxdemo.exe under Wine.
# Leaves the cropped PNGs, a snapshot of the screen after every step and one animation of the
# whole session in the output folder, and prints the JSON line of every selection.
# With --monitors left or above the display has a second 800x600 monitor left of or above the
# 1024x768 primary (negative coordinates), the sample desktop puts a picture on it, and one more
# section drags a rectangle across the edge between the two monitors.
# With --arch x64 the 64-bit build plays it (built in build-x64, run by 64-bit Wine); with --wine10
# it plays on the Wine 10 bed (see setup-machine.sh), at 96 DPI or that of --dpi.
#   tools/demo.sh [--monitors one|left|above] [--arch x86|x64] [--wine10 [--dpi N]] [OUTDIR]
#   (defaults: one, x86 (x64 on a machine that runs no 32-bit programs), build/demo)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
out=$build/demo
layout=one
arch=
bed=
usage="usage: tools/demo.sh [--monitors one|left|above] [--arch x86|x64] [--wine10 [--dpi N]]"
usage+=" [OUTDIR]"
while [ $# -gt 0 ]; do
    case $1 in
    --monitors=*) layout=${1#--monitors=} ;;
    --monitors)
        [ $# -ge 2 ] || { echo "demo.sh: --monitors needs a layout ($usage)" >&2; exit 2; }
        layout=$2
        shift
        ;;
    --arch=*) arch=${1#--arch=} ;;
    --arch)
        [ $# -ge 2 ] || { echo "demo.sh: --arch needs x86 or x64 ($usage)" >&2; exit 2; }
        arch=$2
        shift
        ;;
    --wine10) bed=${bed:-wine10_} ;;
    --dpi)
        [[ ${2:-} =~ ^[0-9]+$ ]] || { echo "demo.sh: --dpi needs a number ($usage)" >&2 && exit 2; }
        bed=wine10_$2_
        shift
        ;;
    -*)
        echo "demo.sh: unknown option $1 ($usage)" >&2
        exit 2
        ;;
    *) out=$1 ;;
    esac
    shift
done
case $layout in
one | left | above) ;;
*)
    echo "demo.sh: unknown monitor layout '$layout' ($usage)" >&2
    exit 2
    ;;
esac
"$top/tools/setup-machine.sh" --demo ${bed:+--wine10}
[ -z "$bed" ] || arch=x64
. "$top/tools/display.sh"
if [ -z "$arch" ]; then
    arch=x86
    if ! runs_32bit_wine; then
        echo "demo: this machine runs no 32-bit programs (its kernel has 32-bit emulation off):" \
            "the 64-bit build plays the demo" >&2
        arch=x64
    fi
fi
case $arch in
x86) toolchain=mingw-i686 ;;
x64)
    toolchain=mingw-x86_64
    build=$build-x64
    ;;
*)
    echo "demo.sh: unknown architecture '$arch' ($usage)" >&2
    exit 2
    ;;
esac

# Each section: a name (its script is demo/scripts/NAME.txt) and the options spxdemo runs it with.
sections=(
    "rectangle --mode rectangle --adjust"
    "ellipse --mode ellipse --adjust"
    "polygon --mode polygon --adjust"
    "window --mode window --highlight"
    "modifiers --mode rectangle --no-adjust --repeat"
    "keyboard --mode rectangle --adjust"
    "keyboard-polygon --mode polygon --adjust --rubber-edge"
    "snap --mode rectangle --no-adjust --repeat --snap"
    "shapes-ratio --mode rectangle --adjust --repeat --ratio 16:9 --last-region"
    "shapes-fixed --mode rectangle --adjust --fixed 640x360"
    "loupe --mode rectangle --adjust --loupe"
    "elements --mode window --highlight --elements --repeat"
)
# Script coordinates are screen points, so the edge between the monitors has a script per layout.
if [ "$layout" != one ]; then
    sections+=("across-$layout --mode rectangle --adjust")
fi

cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target spxdemo spxdesk >/dev/null

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -rf "$out/images" "$out/snapshots" "$out/session.gif" "$out/selections.jsonl"
mkdir -p "$out/images" "$out/snapshots"

# A prefix serves one display at a time: each layout has its own.
layout=$bed$layout
use_layout "$layout"
if [ "$layout" = one ]; then
    use_wine_prefix "$build/wineprefix" "$arch"
else
    use_wine_prefix "$build/wineprefix-$layout" "$arch"
fi
start_test_display "$layout"
trap stop_test_display EXIT
ensure_wine_prefix
spx_bed wineserver -p </dev/null >/dev/null 2>&1

started=$(date +%s)
# The sample desktop stays on the screen for the whole session; it says when it is up.
ready=$out/.desktop-ready
rm -f "$ready"
spx_bed "$SPX_WINE" "$build/bin/spxdesk.exe" "$ready" </dev/null >/dev/null 2>&1 &
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
    # Each section numbers its selections from 1: a folder of its own keeps two sections of one
    # mode apart.
    # shellcheck disable=SC2086
    if ! spx_bed "$SPX_WINE" "$build/bin/spxdemo.exe" $options \
        --script "$top/demo/scripts/$name.txt" \
        --snapshots "$out/snapshots/$n-$name" --out "$out/images/$n-$name" \
        </dev/null | tr -d '\r' >>"$out/selections.jsonl"; then
        echo "demo: the $name section failed" >&2
        status=1
    fi
done

# One animation of the whole session: every snapshot in order, the last of each section held.
# ImageMagick holds every frame it reads at once, within the memory and disk its policy allows,
# which the frames of a whole session on two monitors exceed: each section becomes an optimised
# animation of its own first, and those, whose frames are only the parts that change, are joined.
parts=()
animated=1
rm -rf "$out/.sections"
mkdir -p "$out/.sections"
for dir in "$out"/snapshots/*/; do
    shots=("$dir"step-*.png)
    [ -e "${shots[0]}" ] || continue
    parts+=("$out/.sections/${#parts[@]}.gif")
    convert -loop 0 -delay 12 "${shots[@]:0:${#shots[@]}-1}" -delay 150 "${shots[-1]}" \
        -layers Optimize "${parts[-1]}" || animated=0
done
if [ ${#parts[@]} -gt 0 ] && [ $animated -eq 1 ]; then
    convert -loop 0 "${parts[@]}" "$out/session.gif" || animated=0
fi
if [ $animated -eq 0 ]; then
    echo "demo: the animation could not be made" >&2
    status=1
fi
rm -rf "$out/.sections"

cat "$out/selections.jsonl"
echo
echo "Selections (PNG):     $out/images"
echo "Step snapshots (PNG): $out/snapshots"
echo "Animation:            $out/session.gif"
echo "JSON lines:           $out/selections.jsonl"
echo "Took $(($(date +%s) - started)) s after the build."
exit $status
