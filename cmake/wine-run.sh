#!/bin/sh
# Runs one Windows program under wine in the build's throw-away prefix (the test emulator).
# Usage: [FWT_WINE_LOADER=/usr/lib/wine/wine] wine-run.sh <prefix> <program.exe> [args...]
# The loader is wine64 unless FWT_WINE_LOADER names the 32-bit one, for 32-bit programs.
prefix="$1"
shift
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -n "${FWT_XVFB_DISPLAY_FILE:-}" ] && [ -s "$FWT_XVFB_DISPLAY_FILE" ]; then
    DISPLAY=":$(cat "$FWT_XVFB_DISPLAY_FILE")"
    export DISPLAY
else
    unset DISPLAY
fi
exec "${FWT_WINE_LOADER:-/usr/lib/wine/wine64}" "$@"
