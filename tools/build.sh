#!/usr/bin/env bash
# Configures and builds SPXHK110 for 32-bit and 64-bit Windows from the same sources: the x86 tree
# in BUILD_DIR, the x64 tree in BUILD_DIR-x64. Extra arguments go to every `cmake --build`
# (for example --target spxdemo).   Usage: tools/build.sh [BUILD_DIR [BUILD ARGS...]]
# SPX_BUILD_ARCH=x86 or x64 builds that tree alone.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true

for tree in "x86 mingw-i686 $build" "x64 mingw-x86_64 $build-x64"; do
    read -r arch toolchain dir <<<"$tree"
    [ "${SPX_BUILD_ARCH:-$arch}" = "$arch" ] || continue
    cmake -S "$top" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$dir" -j"$(nproc)" "$@"
done
