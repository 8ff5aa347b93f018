#!/bin/sh
# Builds the store benchmark in an optimised build without sanitizers and runs it: each statement of the
# reminder store, and the reload of its list, on a million reminders, beside the same statements in the
# sqlite3 shell.
#
# Usage: bench/run-store-bench.sh [cache-dir]
#   cache-dir  where the million-row file is kept between runs (default: <build>/store-bench-cache);
#              it should be on the disk whose write speed the insert, update and delete are to show.
# ORVANE_BENCH_BUILD names the build directory (default: build-bench beside the sources).
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVANE_BENCH_BUILD:-$top/build-bench}
cache=${1:-$build/store-bench-cache}

if ! command -v sqlite3 >/dev/null 2>&1; then
    echo "run-store-bench: the sqlite3 shell is missing (./scripts/setup installs it)" >&2
    exit 1
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF -DORVANE_EXTRAS=ON \
        && cmake --build "$build" --target store_bench -- -j2; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "run-store-bench: the build failed" >&2
    exit 1
fi

"$build/bench/store_bench" "$cache"
