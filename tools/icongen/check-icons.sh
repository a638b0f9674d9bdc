#!/bin/sh
# Fails when a committed .ico no longer matches its text source, or when a PNG
# picture icongen wrote does not read back as the source's pixels.
# Usage: check-icons.sh ICONGEN ICONS_DIR   (with --update, rewrites the .ico files)
set -eu
icongen=$1 dir=$2 update=${3:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
for source in "$dir"/*.txt; do
    name=$(basename "$source" .txt)
    "$icongen" "$source" "$tmp/$name.ico"
    if ! python3 "$(dirname "$0")/check-png.py" "$source" "$tmp/$name.ico"; then
        status=1
        continue
    fi
    if [ "$update" = "--update" ]; then
        cp "$tmp/$name.ico" "$dir/$name.ico"
    elif ! cmp -s "$tmp/$name.ico" "$dir/$name.ico"; then
        echo "$dir/$name.ico is out of date: run 'make icons'" >&2
        status=1
    fi
done
exit $status
