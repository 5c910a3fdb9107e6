#!/usr/bin/env bash
# Compares the export table of each 32-bit DLL with the expected list kept beside its sources.
# Usage: check-exports.sh <manifest>   (lines "<dll>|<expected-list>")
#        check-exports.sh <dll> <expected-list>
set -euo pipefail
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

exports_of() {
    "$objdump" -p "$1" | awk '
        /^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
        on && /^[[:space:]]*$/ { on = 0 }
        on { sub(/^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]*/, ""); print }' | LC_ALL=C sort
}

expected_of() {
    sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' "$1" | LC_ALL=C sort
}

check_one() {
    local dll="$1" list="$2"
    if ! diff -u <(expected_of "$list") <(exports_of "$dll") >/tmp/check-exports.$$ 2>&1; then
        echo "FAIL $(basename "$dll"): export table differs from $list (- expected, + actual)"
        sed -n '3,$p' /tmp/check-exports.$$ | grep -E '^[-+]'
        rm -f /tmp/check-exports.$$
        return 1
    fi
    rm -f /tmp/check-exports.$$
    echo "ok   $(basename "$dll"): $(expected_of "$list" | wc -l) exports as expected"
}

status=0
if [ $# -eq 2 ]; then
    check_one "$1" "$2" || status=1
elif [ $# -eq 1 ]; then
    while IFS='|' read -r dll list; do
        [ -n "$dll" ] || continue
        check_one "$dll" "$list" || status=1
    done <"$1"
else
    echo "usage: $0 <manifest> | <dll> <expected-list>" >&2
    exit 2
fi
exit $status
