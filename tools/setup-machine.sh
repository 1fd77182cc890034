#!/usr/bin/env bash
# Prepares a Debian machine to build SPXHK110 and run its tests: the i386 architecture, the
# MinGW-w64 i686 and x86_64 cross compilers, 32-bit and 64-bit Wine, Xvfb, xrandr and the
# Xinerama libraries (the two-monitor display), CMake, the GoogleTest sources, LLVM (the import
# libraries for Microsoft's linker, and their check), mmdebstrap and bubblewrap (the Wine 10 bed).
#   setup-machine.sh [--demo] [--wine10] [--bed-only]   --demo adds ImageMagick, which makes the
#   demo's animation; --wine10 also makes the Wine 10 bed's root (below); --bed-only installs only
#   what makes that root (mmdebstrap, bubblewrap), so that the root can be made while the rest
#   installs.
# Safe to run again: when everything is already present it returns after a few dpkg queries.
set -euo pipefail

packages=(
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev wine wine32:i386 wine64 xvfb xauth x11-utils x11-xserver-utils
    libxinerama1:i386 libxinerama1 cmake make googletest binutils python3 llvm mmdebstrap bubblewrap
)
[[ " $* " != *" --demo "* ]] || packages+=(imagemagick)
[[ " $* " != *" --bed-only "* ]] || packages=(mmdebstrap bubblewrap)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

missing() {
    local p
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            echo "$p"
        fi
    done
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

# The Wine 10 bed: Debian 13's Wine and X server with the dummy driver (see launch_xvfb), in a root
# in the per-user cache that tools/display.sh lays over /usr and /etc with bwrap. Made in a
# temporary folder renamed when complete, again when this recipe changes; the mirror's release
# files may be past their validity date. Nothing is mounted outside mmdebstrap's own namespace.
make_wine10_root() {
    local root=${SPX_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/spxhk110}/wine10-root stamp tmp
    local recipe=(mmdebstrap --variant=apt --mode=unshare
        --aptopt='Acquire::Check-Valid-Until "false"'
        --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-exclude=/usr/share/man/*'
        --dpkgopt=force-unsafe-io
        --include=wine64,wine,libxinerama1,libxi6,libxcursor1,libxcomposite1,libxrandr2,libxxf86vm1
        --include=xserver-xorg-core,xserver-xorg-video-dummy trixie)
    stamp="${recipe[*]} $(declare -f make_wine10_root | sha256sum | cut -c1-16)"
    mkdir -p "${root%/*}"
    exec {lock}>"$root.lock"
    flock "$lock"
    [ "$(cat "$root/.spx-recipe" 2>/dev/null)" = "$stamp" ] && return 0
    echo "setup-machine: making the Wine 10 root in $root"
    rm -rf "$root".new.*
    tmp=$(mktemp -d "$root.new.XXXXXX")
    "${recipe[@]}" "$tmp" http://deb.debian.org/debian >"$tmp.log" 2>&1 || {
        tail -20 "$tmp.log" >&2
        return 1
    }
    echo "$stamp" >"$tmp/.spx-recipe"
    rm -rf "$root" "$tmp.log"
    mv "$tmp" "$root"
}

todo=$(missing)
if [ -z "$todo" ]; then
    [[ " $* " != *" --wine10 "* ]] || make_wine10_root
    exit 0
fi

export DEBIAN_FRONTEND=noninteractive
apt_opts=(-y -q -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold)
echo "setup-machine: installing:" $todo
# A mirror caught mid-sync fails one index; another try usually gets it, and the lists that did
# arrive are used either way.
for try in 1 2 3; do
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q && break
    echo "setup-machine: apt-get update failed (try $try of 3)" >&2
    sleep $((try * 5))
done
apt_install() {
    # shellcheck disable=SC2086
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install "${apt_opts[@]}" \
        --no-install-recommends "$@" $todo
}
# With one architecture's security index missing, the two architectures' candidates differ and
# the i386 libraries cannot be installed beside the amd64 ones; the release's own suite then
# gives both the same versions.
if ! apt_install; then
    . /etc/os-release
    echo "setup-machine: installing from ${VERSION_CODENAME} first" >&2
    apt_install -o APT::Default-Release="${VERSION_CODENAME}"
fi
[[ " $* " != *" --wine10 "* ]] || make_wine10_root
