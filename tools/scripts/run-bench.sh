#!/bin/sh
# Runs the benchmarks and prints the sizes of the release programs.
# Usage: run-bench.sh BUILD_DIR
set -u
build=$(cd "${1:-build}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
winerun="python3 $top/tools/wine/winerun.py --state-dir $build/wine"

echo "=== machine"
echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "cpu: $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores"
echo "wine: $(wine --version 2>/dev/null)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "=== decisions on the input path (native)"
"$build/bench/zephtab_bench"

# The 32-bit program is the primary target; where the kernel cannot run 32-bit
# Linux programs, Wine runs the 64-bit build instead.
if $winerun can-run-32; then arch=win32; else arch=win64; fi
echo "=== open, steps and cancel under Wine ($arch)"
$winerun run -- "$build/$arch/zephtab_switch_bench.exe"

echo "=== release programs (stripped)"
for arch in win32 win64; do
    for program in zephtab zephtab-config zephtab-settings; do
        file="$build/$arch/$program.exe"
        [ -f "$file" ] || continue
        bytes=$(stat -c %s "$file")
        awk -v a="$arch" -v p="$program.exe" -v b="$bytes" \
            'BEGIN { printf "%-6s %-22s %8d bytes  %6.1f KB\n", a, p, b, b / 1024 }'
    done
done
bytes=$(stat -c %s "$build/win32/zephtab.exe" 2>/dev/null || echo 0)
if [ "$bytes" -le 102400 ]; then verdict="within"; else verdict="OVER"; fi
echo "32-bit zephtab.exe: $bytes bytes, $verdict the 100 KB budget"
