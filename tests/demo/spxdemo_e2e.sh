#!/usr/bin/env bash
# End to end: spxdemo.exe under Wine plays a short script. A rectangle dragged and committed
# gives one JSON line and a PNG of the rectangle's size; a malformed script and a step off the
# screen give one-line errors and their exit codes.
#   spxdemo_e2e.sh WINE_RUN PREFIX SPXDEMO_EXE WORK_DIR
set -uo pipefail
wine_run=$1
prefix=$2
demo=$3
work=$4
rm -rf "$work"
mkdir -p "$work"
fail=0
run() { "$wine_run" --prefix "$prefix" "$demo" "$@" 2>"$work/stderr"; }
check() { # what, condition
    if ! eval "$2"; then
        echo "FAIL: $1"
        echo "  stdout: $(cat "$work/stdout" 2>/dev/null)"
        echo "  stderr: $(grep -v fixme "$work/stderr")"
        fail=1
    fi
}

printf '%s\n' 'move 100 100' press 'move 180 160' 'move 260 220' release > "$work/drag.txt"
run --mode rectangle --no-adjust --script "$work/drag.txt" --out "$work/out" \
    --snapshots "$work/snap" >"$work/stdout"
status=$?
check "a finished drag exits 0 (got $status)" '[ $status -eq 0 ]'
expected="{\"mode\":\"rectangle\",\"rect\":[100,100,260,220],\"file\":\"$work/out/selection-1-rectangle.png\"}"
check "one JSON line for the rectangle" '[ "$(tr -d "\r" <"$work/stdout")" = "$expected" ]'
size=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24)
print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else "no PNG")' \
    "$work/out/selection-1-rectangle.png" 2>&1)
check "the PNG is 160x120 (got $size)" '[ "$size" = 160x120 ]'
shots=$(ls "$work/snap" 2>/dev/null | wc -l)
check "a snapshot before and after each of the 5 steps (got $shots)" '[ "$shots" -eq 6 ]'

printf 'move 1 1\nwait 10\nmvoe 3 4\n' > "$work/bad.txt"
run --script "$work/bad.txt" >"$work/stdout"
status=$?
check "a malformed script exits 2 (got $status)" '[ $status -eq 2 ]'
check "the error names the file and line 3" 'grep -q "bad.txt: line 3: unknown step" "$work/stderr"'

printf 'move 5000 10\n' > "$work/off.txt"
run --script "$work/off.txt" >"$work/stdout"
status=$?
check "an undeliverable step exits 3 (got $status)" '[ $status -eq 3 ]'
check "the error says the step cannot be delivered" \
    'grep -q "line 1 (move 5000 10): cannot be delivered" "$work/stderr"'

run --mode square >"$work/stdout"
status=$?
check "a bad option exits 2 and names it" '[ $status -eq 2 ] && grep -q -- "--mode" "$work/stderr"'

[ $fail -eq 0 ] && echo "spxdemo: JSON line, PNG size, snapshots and errors as expected"
exit $fail
