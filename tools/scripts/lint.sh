#!/bin/sh
# The checks every change passes before its tests run (`make lint`, and first
# in `make test`); each failure names the file and the fix:
#   1. clang-format: every source of src, tests, tools and bench is formatted
#      as .clang-format says (`make format` rewrites them);
#   2. the folders of src include each other without a cycle, and nothing
#      outside src/app (but the tests and the bench) includes src/app
#      (tools/scripts/include-graph.py);
#   3. clang-tidy with the checks of .clang-tidy on the code of src and tools:
#      the portable files as the native build compiles them, the Windows files
#      as the 32-bit build does, against the MinGW-w64 headers. A finding that
#      is wrong for a line is silenced there with NOLINT(check) and the reason.
# Usage: lint.sh BUILD_DIR (configures BUILD_DIR/native and BUILD_DIR/win32
# when their compilation databases are missing; builds nothing).
set -u
build=$(cd "${1:-build}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)
started=$(date +%s)
failed=""

echo "=== lint: clang-format"
sources=$(find src tests tools bench -name '*.cpp' -o -name '*.h' | sort)
if ! echo "$sources" | xargs clang-format --dry-run --Werror; then
    echo "lint: files above are not formatted; run 'make format' (clang-format -i) and commit the result"
    failed="$failed clang-format"
fi

echo "=== lint: folder include graph"
if ! python3 tools/scripts/include-graph.py "$top"; then
    failed="$failed include-graph"
fi

# The compilation database of a build tree; a tree configured before the
# databases were written gets configured again in place.
database() { # tree
    if [ ! -f "$build/$1/compile_commands.json" ]; then
        cmake -S "$top" -B "$build/$1" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || return 1
    fi
    echo "$build/$1"
}

# The files of a database under src or tools, of one side: "portable" or "windows".
files_of() { # database side
    python3 - "$1/compile_commands.json" "$2" "$top" <<'EOF'
import json, os, sys
entries, side, top = json.load(open(sys.argv[1])), sys.argv[2], sys.argv[3]
chosen = set()
for entry in entries:
    path = os.path.relpath(os.path.join(entry["directory"], entry["file"]), top)
    if not path.startswith(("src/", "tools/")):
        continue
    if path.endswith("_win.cpp") == (side == "windows"):
        chosen.add(path)
print("\n".join(sorted(chosen)))
EOF
}

# The C++ library headers of the MinGW-w64 compiler of a database, for clang:
# its own include folders but the compiler's built-in ones, which clang brings.
mingw_includes() { # database
    compiler=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))[0]["command"].split()[0])' \
        "$1/compile_commands.json")
    "$compiler" -xc++ -E -v /dev/null 2>&1 |
        sed -n '/#include <...> search starts here:/,/End of search list./p' |
        grep '/include/c++' | sed 's/^ */--extra-arg=-isystem/'
}

tidy() { # database files extra-arguments... : findings to standard output, fails when one is found
    db=$1 files=$2
    shift 2
    # Each call's report in one piece, so that parallel reports do not interleave.
    echo "$files" | xargs -P "$jobs" -n 4 sh -c \
        'report=$(clang-tidy "$@" 2>&1); status=$?; printf "%s\n" "$report"; exit $status' \
        tidy --quiet -p "$db" "$@"
}

echo "=== lint: clang-tidy"
findings=$(mktemp)
trap 'rm -f "$findings"' EXIT INT TERM
tidy_failed=0
if native=$(database native) && win32=$(database win32); then
    tidy "$native" "$(files_of "$native" portable)" >>"$findings" 2>&1 || tidy_failed=1
    tidy "$win32" "$(files_of "$win32" windows)" --extra-arg=--target=i686-w64-mingw32 \
        $(mingw_includes "$win32") >>"$findings" 2>&1 || tidy_failed=1
else
    echo "lint: the build trees could not be configured" >>"$findings"
    tidy_failed=1
fi
# What remains after clang-tidy's counts of what it was told to leave out.
grep -v -e '^[0-9]* warnings\? generated\.$' -e '^Suppressed [0-9]* warnings' \
    -e '^Use -header-filter=' -e '^$' "$findings"
if [ "$tidy_failed" -ne 0 ]; then
    echo "lint: clang-tidy found the above; fix the code, or, where a check is wrong for"
    echo "      one line, silence it there: // NOLINT(check-name): the reason"
    failed="$failed clang-tidy"
fi

seconds=$(($(date +%s) - started))
if [ -n "$failed" ]; then
    echo "lint: FAILED:$failed (${seconds} s)"
    exit 1
fi
echo "lint: clean (${seconds} s)"
