#!/usr/bin/env bash
# Checks the import library for Microsoft's linker by reading its members: for every export of
# the .def file an i386 import member that defines _Name@bytes and __imp__Name@bytes (what MSVC
# calls for a __stdcall function) and imports the undecorated name the DLL exports.
#   check_msvc_import_lib.sh LLVM_READOBJ DEF LIB
set -euo pipefail
readobj=$1
def=$2
lib=$3

members=$("$readobj" "$lib")
fail=0
grep -q 'Format: COFF-i386' <<<"$members" || { echo "no i386 COFF member in $lib"; fail=1; }
grep -q '__IMPORT_DESCRIPTOR_SPXHK110' < <("$readobj" --symbols "$lib") ||
    { echo "no import descriptor for SPXHK110.dll"; fail=1; }

# One "Name type / Symbol / Symbol" block per import member.
imports=$(awk '/^Name type:/{type=$3} /^Symbol: __imp__/{print substr($2, 8) " " type}' \
    <<<"$members" | sort)
want=$(awk '$1 != "EXPORTS" && $1 != "LIBRARY" && $1 !~ /^;/ && NF {print $1 " undecorate"}' \
    "$def" | sort)
if [ "$imports" != "$want" ]; then
    echo "import members differ from the .def file's exports (name, import name type):"
    diff <(echo "$want") <(echo "$imports") || true
    fail=1
fi
for name in $(awk '{print $1}' <<<"$want"); do
    grep -qx "Symbol: _$name" <<<"$members" || { echo "no _$name"; fail=1; }
done
[ $fail -eq 0 ] && echo "$(wc -l <<<"$want") imports, each _Name@bytes by its plain name"
exit $fail
