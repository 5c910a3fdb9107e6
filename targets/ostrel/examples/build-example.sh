#!/usr/bin/env bash
# Assembles and links an example program into Intel HEX: build-example.sh <source.asm> <out.hex>.
# With --check, builds into a temporary folder and compares the result with <out.hex>.
set -euo pipefail
check=0
if [ "${1:-}" = "--check" ]; then
    check=1
    shift
fi
source=$1
target=$2
if ! command -v sdas8051 >/dev/null || ! command -v sdld >/dev/null; then
    echo "build-example: sdas8051 and sdld are needed (Debian package sdcc)" >&2
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
name=$(basename "$source" .asm)
cp "$source" "$work/$name.asm"
(cd "$work" && sdas8051 -plosgff "$name.rel" "$name.asm" && sdld -n -i "$name.ihx" "$name.rel") >/dev/null
if [ $check -eq 1 ]; then
    if cmp -s "$work/$name.ihx" "$target"; then
        echo "build-example: $target matches its source"
        exit 0
    fi
    echo "build-example: $target differs from what $source assembles to:" >&2
    diff "$work/$name.ihx" "$target" >&2 || true
    exit 1
fi
cp "$work/$name.ihx" "$target"
