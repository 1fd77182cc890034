#!/usr/bin/env bash
# Checks the built DLL's image with objdump: the export names (XorBox and XorRectBox on one
# address), the state section (Vantu_SP, not shared), imports of what the library calls only,
# and (given VERSION) the version resource's file and product version.
#   check_dll_image.sh OBJDUMP DLL [x86|x64 [VERSION]]
set -euo pipefail
objdump=$1
dll=$2
arch=${3:-x86}
version=${4:-}
fail=0

expected_exports="MoveXorBox SPXAddPolyPoint SPXCalcPolygonRect SPXErasePolyPoints
SPXFreePolyPoints SPXStrechtPolyPoints SPXXORWindow SPXXorLine SPXXorPoint SPXXorPolyPoints
XorBox XorRectBox SetMouseHook SetKeyboardHook SetTrackingNotify SetSelectionOptions
SetSelectionOptionsMasked SetSelectionShape GetLastSelection PhysicalToHostRect
PhysicalToHostPoints GetPickedTarget"

private=$("$objdump" -p "$dll")

# Export names: the "[Ordinal/Name Pointer] Table" lists them; ordinal i points at entry i of the
# export address table.
names=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^\t\[/{print $3} on && !/^\t\[/{on=0}' \
    <<<"$private" | sort)
want=$(tr ' ' '\n' <<<"$expected_exports" | tr -s '\n' | sort)
if [ "$names" != "$want" ]; then
    echo "exports differ from the expected names:"
    diff <(echo "$want") <(echo "$names") || true
    fail=1
fi

rva_of() {
    local ordinal
    ordinal=$(awk -v n="$1" '/\[Ordinal\/Name Pointer\] Table/{on=1; next}
        on && $3 == n {gsub(/[\[\]]/, "", $2); print $2}' <<<"$private")
    awk -v i="$ordinal" '/Export Address Table -- Ordinal Base/{on=1; next}
        on && /^\t\[/ {gsub(/[\[\]]/, "", $2); if ($2 == i) {print $5; exit}}' <<<"$private"
}
if [ -z "$(rva_of XorBox)" ] || [ "$(rva_of XorBox)" != "$(rva_of XorRectBox)" ]; then
    echo "XorBox ($(rva_of XorBox)) and XorRectBox ($(rva_of XorRectBox)) differ"
    fail=1
fi

# Every export uses __stdcall, undecorated: no name carries an @.
if grep -q '@' <<<"$names"; then
    echo "decorated export names: $names"
    fail=1
fi

section=$("$objdump" -h "$dll" | grep -A1 ' Vantu_SP ' || true)
if [ -z "$section" ]; then
    echo "no Vantu_SP section"
    fail=1
else
    grep -q DATA <<<"$section" || { echo "Vantu_SP holds no data: $section"; fail=1; }
    grep -q READONLY <<<"$section" && { echo "Vantu_SP is read-only: $section"; fail=1; }
    # Each process its own copy: a shared section would let any process change the host's.
    grep -q SHARED <<<"$section" && { echo "Vantu_SP is shared between processes: $section"; fail=1; }
    # Nine words of state: 36 bytes in 32 bits; in 64 bits the hooks, the record, the box and the
    # overlay window take 8 bytes each.
    size=$(awk 'NR==1{print $3}' <<<"$section")
    want_size=36
    [ "$arch" = x64 ] && want_size=56
    if [ $((16#$size)) -ne $want_size ]; then
        echo "Vantu_SP holds $((16#$size)) bytes, not the nine words"
        fail=1
    fi
fi

# Only what the library calls, from Windows' own DLLs: no C or C++ runtime, no thread library.
imports=$(awk '/DLL Name:/{print toupper($3)}' <<<"$private" | sort -u)
for dllname in $imports; do
    case $dllname in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL) ;;
    *)
        echo "imports $dllname: only KERNEL32, USER32 and GDI32 may be imported"
        fail=1
        ;;
    esac
done
functions=$(awk 'NF >= 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print $3}' <<<"$private")
for name in _beginthreadex SuspendThread AddVectoredExceptionHandler TlsAlloc \
    LoadLibraryA VirtualProtect; do
    if grep -qx "$name" <<<"$functions"; then
        echo "imports $name, which the library never calls"
        fail=1
    fi
done

# One claim for the session, whichever architecture's DLL takes it.
# grep reads all of strings' output: quitting at the match, it failed the pipe (SIGPIPE).
if ! strings -a "$dll" | grep -xF 'Local\SPXHK110.SelectionHook' >/dev/null; then
    echo "the selection hook's claim is not named Local\SPXHK110.SelectionHook"
    fail=1
fi

# The version resource's strings are UTF-16: each name is followed by its value.
if [ -n "$version" ]; then
    for name in FileVersion ProductVersion; do
        value=$(strings -el "$dll" | awk -v n="$name" '$0 == n {getline; print; exit}')
        if [ "$value" != "$version" ]; then
            echo "version resource: $name is '$value', not $version"
            fail=1
        fi
    done
    if ! strings -el "$dll" | grep -x 'SPXHK110' >/dev/null; then
        echo "version resource: no ProductName SPXHK110"
        fail=1
    fi
fi

[ $fail -eq 0 ] && echo "exports, state section, imports${version:+ and version} as expected"
exit $fail
