#!/usr/bin/env bash
# A host built with CMake against SPXHK110's install tree (the package less its documents),
# installed outside the build tree with the guide's docs/CMakeLists.txt beside it: find_package
# gives SPXHK110::SPXHK110, the build copies the DLL beside the program, and the program selects
# a rectangle dragged under Wine. A version request above the package's fails in find_package.
#   check_cmake_package.sh BUILD_DIR SOURCE_DIR TOOLCHAIN_FILE x86|x64 DRAG_DRIVER WORK_DIR
set -uo pipefail
build=$1
src=$2
toolchain=$3
arch=$4
driver=$5
work=$6
rm -rf "$work"
mkdir -p "$work"
package=$work/SPXHK110
fail() {
    echo "FAIL: $1"
    [ -f "$work/log" ] && tail -20 "$work/log"
    exit 1
}

cmake --install "$build" --prefix "$package" >"$work/log" 2>&1 || fail "cmake --install"
mkdir -p "$package/docs"
cp "$src/docs/CMakeLists.txt" "$src/docs/minimal_host.c" "$package/docs/"

cmake -S "$package/docs" -B "$work/host" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_PREFIX_PATH="$package" -DCMAKE_BUILD_TYPE=Release >"$work/log" 2>&1 ||
    fail "configuring the minimal host against the package"
cmake --build "$work/host" >"$work/log" 2>&1 || fail "building the minimal host"
cmp -s "$work/host/SPXHK110.dll" "$package/$arch/SPXHK110.dll" ||
    fail "the $arch SPXHK110.dll was not copied beside minimal_host.exe"
echo "built against the package: $(ls "$work/host"/*.exe "$work/host"/*.dll | xargs -n1 basename | tr '\n' ' ')"

"$src/tools/wine-run.sh" --prefix "$build/wineprefix" --arch "$arch" "$driver" MinimalHostNotify \
    "$work/host/minimal_host.exe" >"$work/stdout" 2>"$work/log"
status=$?
out=$(tr -d '\r' <"$work/stdout")
[ $status -eq 0 ] || fail "minimal_host.exe exited with $status; it printed: $out"
grep -qx 'selected 100,100 to 300,200' <<<"$out" || fail "minimal_host.exe printed: $out"
echo "minimal_host.exe under Wine: $(tail -1 <<<"$out")"

# A request for the next major version is not met by this package.
major=$(sed -n 's/^set(PACKAGE_VERSION "\([0-9]*\)\..*/\1/p' "$package/cmake/SPXHK110ConfigVersion.cmake")
mkdir -p "$work/newer"
printf 'cmake_minimum_required(VERSION 3.21)\nproject(newer C)\nfind_package(SPXHK110 %s.0 CONFIG REQUIRED)\n' \
    $((major + 1)) >"$work/newer/CMakeLists.txt"
if cmake -S "$work/newer" -B "$work/newer/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_PREFIX_PATH="$package" >"$work/log" 2>&1; then
    fail "find_package(SPXHK110 $((major + 1)).0) was met by the package"
fi
grep -q "compatible with requested version \"$((major + 1)).0\"" "$work/log" ||
    fail "find_package($((major + 1)).0) failed, but not for the version"
echo "find_package(SPXHK110 $((major + 1)).0) refused:" \
    "$(grep -o 'SPXHK110Config.cmake, version: .*' "$work/log")"
