#!/usr/bin/env bash
# Checks the import library for Microsoft's linker by reading its members. x86: for every export
# of the .def file an i386 import member that defines _Name@bytes and __imp__Name@bytes (what MSVC
# calls for a __stdcall function) and imports the undecorated name the DLL exports. x64: an
# x86-64 member that defines Name and __imp_Name and imports Name.
#   check_msvc_import_lib.sh LLVM_READOBJ DEF LIB [x86|x64]
set -euo pipefail
readobj=$1
def=$2
lib=$3
arch=${4:-x86}
if [ "$arch" = x64 ]; then
    format=COFF-x86-64 prefix= name_type=name
else
    format=COFF-i386 prefix=_ name_type=undecorate
fi

members=$("$readobj" "$lib")
fail=0
grep -q "Format: $format" <<<"$members" || { echo "no $format member in $lib"; fail=1; }
grep -q '__IMPORT_DESCRIPTOR_SPXHK110' < <("$readobj" --symbols "$lib") ||
    { echo "no import descriptor for SPXHK110.dll"; fail=1; }

# One "Name type / Symbol / Symbol" block per import member.
imports=$(awk -v imp="__imp_$prefix" '/^Name type:/{type=$3}
    index($0, "Symbol: " imp) == 1 {print substr($2, length(imp) + 1) " " type}' \
    <<<"$members" | sort)
want=$(awk -v type="$name_type" '$1 != "EXPORTS" && $1 != "LIBRARY" && $1 !~ /^;/ && NF {
    print $1 " " type}' "$def" | sort)
if [ "$imports" != "$want" ]; then
    echo "import members differ from the .def file's exports (name, import name type):"
    diff <(echo "$want") <(echo "$imports") || true
    fail=1
fi
for name in $(awk '{print $1}' <<<"$want"); do
    grep -qx "Symbol: $prefix$name" <<<"$members" || { echo "no $prefix$name"; fail=1; }
done
[ $fail -eq 0 ] && echo "$(wc -l <<<"$want") $arch imports, each by its plain name"
exit $fail
