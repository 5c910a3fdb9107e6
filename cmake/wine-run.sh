#!/bin/sh
# Runs one Windows program under wine64 in the build's throw-away prefix (the test emulator).
# Usage: wine-run.sh <prefix> <program.exe> [args...]
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
exec /usr/lib/wine/wine64 "$@"
