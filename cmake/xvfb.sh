#!/bin/sh
# Starts and stops the X server that the window tests of one test run share.
# Usage: xvfb.sh start|stop <display-file>; the display number is written to <display-file>.
set -u
action="$1"
file="$2"
case "$action" in
start)
    rm -f "$file" "$file.pid"
    # -displayfd picks a free display number and writes it once the server accepts clients.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$file" >"$file.log" 2>&1 &
    echo $! >"$file.pid"
    i=0
    while [ ! -s "$file" ] && [ $i -lt 100 ]; do
        sleep 0.1
        i=$((i + 1))
    done
    test -s "$file" || { echo "Xvfb did not start:"; cat "$file.log"; exit 1; }
    echo "Xvfb on display :$(cat "$file")"
    ;;
stop)
    if [ -f "$file.pid" ]; then
        kill "$(cat "$file.pid")" 2>/dev/null || true
        rm -f "$file.pid"
    fi
    ;;
*)
    echo "usage: $0 start|stop <display-file>" >&2
    exit 2
    ;;
esac
