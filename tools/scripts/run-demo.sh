#!/bin/sh
# `make run`: starts Zephtab in a Wine virtual desktop.
# With $DISPLAY set, the desktop opens there and Zephtab runs until Win+F12.
# Without one, a private display is used: a demonstration opens sample
# windows, holds Alt+Tab, saves screenshots of the switcher and of the
# settings dialog, and ends the program cleanly.
# Usage: run-demo.sh BUILD_DIR
set -eu
build=$(cd "${1:-build}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
winerun="python3 $top/tools/wine/winerun.py"

if $winerun can-run-32; then arch=win32; else arch=win64; fi

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting Zephtab ($arch) in a Wine desktop on $DISPLAY; Alt+Tab switches, Win+F12 ends it."
    exec $winerun --state-dir "$build/wine-run" run -- "$build/$arch/zephtab.exe"
fi

shots="$build/screenshots"
mkdir -p "$shots"
rm -f "$shots"/*.png
$winerun --state-dir "$build/wine-run" run -- "$build/$arch/zephtab-demo.exe" "$shots"
for shot in "$shots"/*.png; do
    [ -f "$shot" ] && echo "saved: $shot"
done
