#!/usr/bin/env bash
# Runs one Windows program under Wine on a virtual X display: 32-bit Wine in a 32-bit prefix
# (--arch x86, the default, or SPX_WINE_ARCH), 64-bit Wine in a 64-bit prefix (--arch x64).
#   wine-run.sh --prefix DIR [--arch x86|x64] [--monitors LAYOUT] PROGRAM [ARGS...]
# Under tools/test.sh, CTest allots each Wine test a slot of its own (see wine-slots.sh): the
# program runs on that slot's display, prefix and session, whatever --prefix and --monitors say.
# Otherwise, when SPX_DISPLAY_READY is set, DISPLAY names a running Xvfb that outlives this call;
# without it, or when --monitors asks for a layout, this call starts a private Xvfb with that
# layout (see display.sh) and stops it, and Wine, before it returns. A prefix serves one display
# at a time: give each layout its own.
set -uo pipefail
. "$(dirname "$0")/display.sh"
. "$(dirname "$0")/wine-slots.sh"

prefix=${SPX_WINEPREFIX:-$HOME/.spxhk110-wine}
arch=${SPX_WINE_ARCH:-x86}
layout=
while [ $# -gt 0 ]; do
    case $1 in
    --prefix) prefix=$2 ;;
    --arch) arch=$2 ;;
    --monitors) layout=$2 ;;
    *) break ;;
    esac
    shift 2
done
if [ $# -lt 1 ]; then
    echo "usage: wine-run.sh --prefix DIR [--arch x86|x64] [--monitors LAYOUT] PROGRAM [ARGS...]" >&2
    exit 2
fi
use_layout "${layout:-one}"
use_wine_prefix "$prefix" "$arch"

if ! use_slot; then
    if [ -z "${SPX_DISPLAY_READY:-}" ] || [ -n "$layout" ]; then
        start_test_display "${layout:-one}" || exit 1
        trap stop_test_display EXIT
    fi
    ensure_wine_prefix
fi

spx_bed "$SPX_WINE" "$@"
