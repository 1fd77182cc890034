#!/usr/bin/env bash
# The package a host developer downloads, for both architectures: builds them, installs both
# trees into BUILD_DIR/release/SPXHK110-VERSION/ (cmake --install), adds the documents and zips it:
#   x86/, x64/    SPXHK110.dll, libSPXHK110.dll.a (MinGW), SPXHK110.lib (Microsoft's linker),
#                 spxdemo.exe
#   include/      spxhk110.h, one header for both
#   def/          SPXHK110.def (x86: the decorated link names) and SPXHK110_x64.def
#   cmake/        SPXHK110Config.cmake and its version file, for find_package
#   docs/         the host developer's guide and its minimal host, with a CMakeLists.txt
#   scripts/      the sample host's input scripts
#   wine/         the Wine settings the library needs there
#   README.md, VERSION, LICENSE.txt at the top
#   Usage: tools/release.sh [BUILD_DIR]   (default: build)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}

"$top/tools/setup-machine.sh"
"$top/tools/build.sh" "$build"

version=$(sed -n 's/^SPX_RELEASE_VERSION:STRING=//p' "$build/CMakeCache.txt")
name=SPXHK110-$version
package=$build/release/$name
rm -rf "$package" "$package.zip"
# Each tree's install: its architecture's folder, and the header, .def and CMake package files.
for dir in "$build" "$build-x64"; do
    cmake --install "$dir" --prefix "$package" >/dev/null
done
mkdir -p "$package/docs" "$package/scripts" "$package/wine"
cp "$top/docs/host-guide.md" "$top/docs/minimal_host.c" "$top/docs/CMakeLists.txt" \
    "$package/docs/"
cp "$top"/demo/scripts/*.txt "$package/scripts/"
cp "$top/tools/wine-settings.reg" "$package/wine/"
sed "s/@VERSION@/$version/" "$top/package/README.md" >"$package/README.md"
cp "$top/package/LICENSE.txt" "$package/"
echo "$version" >"$package/VERSION"
(cd "$build/release" && cmake -E tar cf "$name.zip" --format=zip "$name")
echo "Release: $package and $package.zip"
