#!/bin/sh
# Creates (once) and stops the wine prefix that the Windows tests of one build share.
# Usage: [FWT_WINE_LOADER=<loader>] wine-prefix.sh init|stop <prefix>
set -u
action="$1"
prefix="$2"
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
case "$action" in
init)
    if [ ! -f "$prefix/system.reg" ]; then
        mkdir -p "$prefix"
        # wineboot talks a lot while it builds a prefix; none of it belongs in a test log.
        /usr/lib/wine/wine64 wineboot --init >"$prefix.init.log" 2>&1
        # The prefix is written out when its wineserver ends.
        /usr/lib/wine/wineserver -w >/dev/null 2>&1
    fi
    # Top-level windows unmanaged: with no window manager on the test X server, a managed
    # window that is hidden or destroyed waits about two seconds for an answer that never
    # comes; unmanaged, a hide takes milliseconds.
    if ! grep -q '^"Managed"="N"' "$prefix/user.reg" 2>/dev/null; then
        /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ \
            /d N /f >/dev/null 2>&1
        /usr/lib/wine/wineserver -w >/dev/null 2>&1
    fi
    # One persistent wineserver for the whole run, so that each test program starts quickly.
    /usr/lib/wine/wineserver -p 30 >/dev/null 2>&1 || true
    # Started once with the loader the build's programs use (the 32-bit one for 32-bit tests),
    # which also shows that it runs at all.
    loader="${FWT_WINE_LOADER:-/usr/lib/wine/wine64}"
    if ! "$loader" cmd /c exit 0 >/dev/null 2>&1; then
        echo "wine-prefix.sh: $loader cannot run a program in $prefix (tools/install-deps)" >&2
        exit 1
    fi
    test -f "$prefix/system.reg"
    ;;
stop)
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    ;;
*)
    echo "usage: $0 init|stop <prefix>" >&2
    exit 2
    ;;
esac
