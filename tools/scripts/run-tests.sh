#!/bin/sh
# Runs every test: the native unit tests, then the Windows tests (in-process
# and end to end) under Wine, then a start-and-exit check of the other
# architecture, with its setup where it runs too. Prints one summary and fails
# when anything failed.
# Usage: run-tests.sh BUILD_DIR
set -u
build=$(cd "${1:-build}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
winerun="python3 $top/tools/wine/winerun.py --state-dir $build/wine"
results=$(mktemp)
trap 'rm -f "$results"; $winerun stop' EXIT INT TERM

# The 32-bit program is the primary target; it needs a kernel that runs 32-bit
# Linux programs for Wine's 32-bit loader. Where that is missing, the whole
# suite runs on the 64-bit build instead (with its own, 64-bit setup) and the
# 32-bit one is only built.
if $winerun can-run-32; then
    main=win32 other=win64
else
    main=win64 other=win32
    echo "run-tests: this kernel cannot run 32-bit programs: testing the 64-bit build; the 32-bit build is compiled only"
fi

run_ctest() { # label, folder, ctest arguments...
    label=$1 folder=$2
    shift 2
    echo "=== $label"
    log=$(mktemp)
    { (cd "$folder" && ctest --output-on-failure --no-tests=error "$@"); echo $? >"$log.status"; } | tee "$log"
    status=$(cat "$log.status")
    # "N% tests passed, F tests failed out of T"
    counts=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log" | tail -n 1)
    rm -f "$log" "$log.status"
    echo "$label|$status|${counts:-1 1}" >>"$results"
}

run_ctest "native unit tests" "$build/native"
$winerun start >/dev/null
run_ctest "Windows tests ($main)" "$build/$main"
# Where both builds run, the other one's setup is installed for real too.
if [ "$other" = win64 ] || $winerun can-run-32; then
    run_ctest "start and exit, and the setup ($other)" "$build/$other" \
        -R 'e2e_test_start_exit|e2e_test_installer'
fi

echo "=== summary"
passed=0 failed=0 broken=0
while IFS='|' read -r label status counts; do
    set -- $counts
    failed=$((failed + $1))
    passed=$((passed + $2 - $1))
    if [ "$status" -ne 0 ]; then
        broken=1
        echo "FAILED: $label"
    fi
done <"$results"
echo "$passed passed, $failed failed"
[ "$broken" -eq 0 ] && [ "$failed" -eq 0 ]
