#!/usr/bin/env bash
# End to end: spxdemo.exe under Wine plays a short script. A rectangle dragged and committed
# gives one JSON line and a PNG of the rectangle's size, with --ratio 16:9 a band of 16:9, also
# with no pause between steps, from a script and into a folder named outside ASCII; a DPI-unaware
# host's rectangle, ellipse and polygon are the default host's, JSON and PNG; a malformed script,
# an output folder that is a file and a step off the screen give one-line errors and their exit
# codes. With a second monitor (LAYOUT left or above, on a display of its own), the rectangle
# crosses the edge from the second monitor, and a step where no monitor shows cannot be delivered
# either.
#   spxdemo_e2e.sh WINE_RUN PREFIX SPXDEMO_EXE WORK_DIR [LAYOUT]
set -uo pipefail
wine_run=$1
prefix=$2
demo=$3
work=$4
layout=${5:-}
rm -rf "$work"
mkdir -p "$work"
fail=0
run() { "$wine_run" --prefix "$prefix" ${layout:+--monitors "$layout"} "$demo" "$@" 2>"$work/stderr"; }
check() { # what, condition
    if ! eval "$2"; then
        echo "FAIL: $1"
        echo "  stdout: $(cat "$work/stdout" 2>/dev/null)"
        echo "  stderr: $(grep -v fixme "$work/stderr")"
        fail=1
    fi
}

# The drag starts 60 pixels onto the second monitor.
dx=0 dy=0
case $layout in left) dx=-160 ;; above) dy=-160 ;; esac
printf 'move %d %d\npress\nmove %d %d\nmove %d %d\nrelease\n' $((100 + dx)) $((100 + dy)) \
    $((180 + dx)) $((160 + dy)) $((260 + dx)) $((220 + dy)) >"$work/drag.txt"
run --mode rectangle --no-adjust --script "$work/drag.txt" --out "$work/out" \
    --snapshots "$work/snap" >"$work/stdout"
status=$?
check "a finished drag exits 0 (got $status)" '[ $status -eq 0 ]'
rect="$((100 + dx)),$((100 + dy)),$((260 + dx)),$((220 + dy))"
expected="{\"mode\":\"rectangle\",\"rect\":[$rect],\"file\":\"$work/out/selection-1-rectangle.png\"}"
check "one JSON line for the rectangle" '[ "$(tr -d "\r" <"$work/stdout")" = "$expected" ]'
size=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24)
print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else "no PNG")' \
    "$work/out/selection-1-rectangle.png" 2>&1)
check "the PNG is 160x120 (got $size)" '[ "$size" = 160x120 ]'
shots=$(ls "$work/snap" 2>/dev/null | wc -l)
check "a snapshot before and after each of the 5 steps (got $shots)" '[ "$shots" -eq 6 ]'

# --dpi-unaware: with no scaling, an unaware host's crops and lines are the default host's.
printf 'move %d %d\npress\nrelease\n' $((100 + dx)) $((100 + dy)) $((260 + dx)) $((120 + dy)) \
    $((180 + dx)) $((220 + dy)) >"$work/polygon.txt"
echo 'key enter' >>"$work/polygon.txt"
for mode in rectangle ellipse polygon; do
    script=$work/drag.txt
    [ $mode = polygon ] && script=$work/polygon.txt
    for way in per-monitor dpi-unaware; do
        run --mode $mode --no-adjust $([ $way = dpi-unaware ] && echo --dpi-unaware) \
            --script "$script" --out "$work/$way" | tr -d '\r' | sed "s|$way/||" >"$work/$way.json"
        echo "exit ${PIPESTATUS[0]}" >>"$work/stderr"
        cp "$work/stderr" "$work/$way-$mode.stderr"
    done
    check "--dpi-unaware, $mode: the same JSON line ($(cat "$work"/*-$mode.stderr | grep -v fixme |
        tr '\n' ' '))" \
        '[ -s "$work/per-monitor.json" ] && cmp -s "$work/per-monitor.json" "$work/dpi-unaware.json"'
    check "--dpi-unaware, $mode: the same crop, byte for byte" 'cmp -s \
        "$work/per-monitor/"*-$mode.png "$work/dpi-unaware/"*-$mode.png'
done

# With a ratio, the same drag gives a band of 16:9, within a pixel.
run --mode rectangle --no-adjust --ratio 16:9 --script "$work/drag.txt" --out "$work/ratio" >"$work/stdout"
rc=$(tr -d '\r' <"$work/stdout" | sed -n 's/.*"rect":\[\([-0-9]*\),\([-0-9]*\),\([-0-9]*\),\([-0-9]*\)\].*/\1 \2 \3 \4/p')
check "--ratio 16:9: a 16:9 rectangle (got $rc)" 'read -r l t r b <<<"$rc" && [ -n "$b" ] &&
    d=$(((r - l) * 9 - (b - t) * 16)) && [ ${d#-} -le 16 ]'

# With no pause, each step is played once the one before has reached the host. The script has a
# byte-order mark and a Cyrillic name; spxdemo makes the accented folder, names the crop whole in
# UTF-8 and, run again into it, takes the next number rather than overwrite the first crop.
uni=$work/сценарий
mkdir -p "$uni"
{ printf '\xEF\xBB\xBF'; cat "$work/drag.txt"; } >"$uni/жест.txt"
for n in 1 2; do
    run --mode rectangle --no-adjust --step-delay 0 --script "$uni/жест.txt" --out "$uni/café" \
        >"$work/stdout"
    status=$?
    check "--step-delay 0, run $n: exits 0 (got $status)" '[ $status -eq 0 ]'
    expected="{\"mode\":\"rectangle\",\"rect\":[$rect],\"file\":\"$uni/café/selection-$n-rectangle.png\"}"
    check "--step-delay 0, run $n: the JSON line names crop $n" \
        '[ "$(tr -d "\r" <"$work/stdout")" = "$expected" ]'
done
check "both crops are there" '[ "$(ls "$uni/café" 2>/dev/null | wc -l)" -eq 2 ]'

: >"$work/a-file"
for option in --out --snapshots; do
    run --script "$work/drag.txt" $option "$work/a-file" >"$work/stdout"
    status=$?
    check "$option naming a file exits 2 and says so (got $status)" \
        '[ $status -eq 2 ] && grep -q -- "$option: .*a-file.* is a file, not a folder" "$work/stderr"'
done

printf 'move 1 1\nwait 10\nmvoe 3 4\n' > "$work/bad.txt"
run --script "$work/bad.txt" >"$work/stdout"
status=$?
check "a malformed script exits 2 (got $status)" '[ $status -eq 2 ]'
check "the error names the file and line 3" 'grep -q "bad.txt: line 3: unknown step" "$work/stderr"'

off=("move 5000 10")
# Left of the primary's lower part no monitor shows; above the upper monitor the screen ends.
case $layout in left) off+=("move -400 700") ;; above) off+=("move 500 -601") ;; esac
for step in "${off[@]}"; do
    printf '%s\n' "$step" >"$work/off.txt"
    run --script "$work/off.txt" >"$work/stdout"
    status=$?
    check "$step: an undeliverable step exits 3 (got $status)" '[ $status -eq 3 ]'
    check "$step: the error says the step cannot be delivered" \
        'grep -q "line 1 ($step): cannot be delivered" "$work/stderr"'
done

run --mode square >"$work/stdout"
status=$?
check "a bad option exits 2 and names it" '[ $status -eq 2 ] && grep -q -- "--mode" "$work/stderr"'

[ $fail -eq 0 ] && echo "spxdemo: JSON lines, PNG size, snapshots and errors as expected"
exit $fail
