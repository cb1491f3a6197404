#!/bin/sh
# The long fuzzing run of the bitmap decoder: builds fuzz_bitmap and runs it for the given number
# of seconds (600 by default) on a scratch copy of the seed corpus. A crashing input is kept in
# the current folder as bitmap-crash-....
# Usage: scripts/fuzz.sh [SECONDS] [BUILD_DIR]
set -eu
seconds=${1:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build}
if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz.sh: clang++ is needed for the fuzz target" >&2
    exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target fuzz_bitmap
exec sh "$root/tests/fuzz/run_fuzz.sh" "$build/tests/fuzz/fuzz_bitmap" "$root/tests/fuzz/corpus" \
    "$seconds"
