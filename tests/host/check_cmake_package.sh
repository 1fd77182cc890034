#!/usr/bin/env bash
# A host built with CMake against SPXHK110's install tree (the package less its documents) outside
# the build tree, from the guide's docs/CMakeLists.txt: the DLL is copied beside the program, which
# selects a rectangle dragged under Wine; a request for the next major version is refused.
#   check_cmake_package.sh BUILD_DIR SOURCE_DIR TOOLCHAIN_FILE x86|x64 DRAG_DRIVER WORK_DIR
set -uo pipefail
build=$1 src=$2 toolchain=$3 arch=$4 driver=$5 work=$6
package=$work/SPXHK110
fail() {
    echo "FAIL: $1"
    tail -20 "$work/log"
    exit 1
}
rm -rf "$work"
mkdir -p "$package/docs"
cmake --install "$build" --prefix "$package" >"$work/log" 2>&1 || fail "cmake --install"
cp "$src/docs/CMakeLists.txt" "$src/docs/minimal_host.c" "$package/docs/"
configure() { cmake -S "$1" -B "$1/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_PREFIX_PATH="$package" -DCMAKE_BUILD_TYPE=Release >"$work/log" 2>&1; }

configure "$package/docs" || fail "configuring the minimal host against the package"
cmake --build "$package/docs/build" >"$work/log" 2>&1 || fail "building the minimal host"
cmp -s "$package/docs/build/SPXHK110.dll" "$package/$arch/SPXHK110.dll" ||
    fail "the $arch SPXHK110.dll is not beside minimal_host.exe"
. "$src/tools/display.sh"
if [ "$arch" = x86 ] && ! runs_32bit_wine; then
    echo "NOT RUN: minimal_host.exe under Wine (this machine runs no 32-bit programs)"
else
    out=$("$src/tools/wine-run.sh" --prefix "$build/wineprefix" --arch "$arch" "$driver" \
        MinimalHostNotify "$package/docs/build/minimal_host.exe" 2>"$work/log" | tr -d '\r')
    grep -qx 'selected 100,100 to 300,200' <<<"$out" || fail "minimal_host.exe printed: $out"
    echo "minimal_host.exe, built against the package, under Wine: $(tail -1 <<<"$out")"
fi

major=$(sed -n 's/^set(PACKAGE_VERSION "\([0-9]*\)\..*/\1/p' "$package/cmake/SPXHK110ConfigVersion.cmake")
mkdir -p "$work/newer"
printf 'cmake_minimum_required(VERSION 3.21)\nproject(newer C)\nfind_package(SPXHK110 %s.0 CONFIG REQUIRED)\n' \
    $((major + 1)) >"$work/newer/CMakeLists.txt"
configure "$work/newer" && fail "find_package(SPXHK110 $((major + 1)).0) was met"
grep -q "compatible with requested version \"$((major + 1)).0\"" "$work/log" ||
    fail "find_package(SPXHK110 $((major + 1)).0) failed, but not for the version"
echo "find_package(SPXHK110 $((major + 1)).0) refused: $(grep -o 'Config.cmake, version: .*' "$work/log")"
