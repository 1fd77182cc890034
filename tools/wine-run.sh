#!/usr/bin/env bash
# Runs one Windows program under 32-bit Wine on a virtual X display.
#   wine-run.sh --prefix DIR [--monitors one|left|above] PROGRAM [ARGS...]
# When SPX_DISPLAY_READY is set, DISPLAY names a running Xvfb that outlives this call
# (tools/test.sh starts one for a whole test run); otherwise, or when --monitors asks for a
# layout, this call starts a private Xvfb with that layout (see display.sh) and stops it, and
# Wine, before it returns. A prefix serves one display at a time: give each layout its own.
set -uo pipefail
. "$(dirname "$0")/display.sh"

prefix=${SPX_WINEPREFIX:-$HOME/.spxhk110-wine}
if [ "${1:-}" = "--prefix" ]; then
    prefix=$2
    shift 2
fi
layout=
if [ "${1:-}" = "--monitors" ]; then
    layout=$2
    shift 2
fi
if [ $# -lt 1 ]; then
    echo "usage: wine-run.sh --prefix DIR [--monitors one|left|above] PROGRAM [ARGS...]" >&2
    exit 2
fi
use_wine_prefix "$prefix"

if [ -z "${SPX_DISPLAY_READY:-}" ] || [ -n "$layout" ]; then
    start_test_display "${layout:-one}" || exit 1
    trap stop_test_display EXIT
fi
ensure_wine_prefix

wine "$@"
