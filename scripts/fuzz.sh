#!/bin/sh
# The long fuzzing run: builds every fuzz target (the bitmap loader, the sound loader, the round
# recordings, the network packets, the settings file, the lobby's messages) and runs each in turn for the given number of seconds (600 by default) on a
# scratch copy of its seed corpus. A crashing input is kept in the current folder as bitmap-crash-..., wav-crash-... or
# replay-crash-....
# Usage: scripts/fuzz.sh [SECONDS] [BUILD_DIR]
set -eu
seconds=${1:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build}
if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz.sh: clang++ is needed for the fuzz targets" >&2
    exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target fuzz_bitmap fuzz_wav fuzz_replay fuzz_packet fuzz_settings fuzz_lobby
status=0
for kind in bitmap wav replay packet settings lobby; do
    echo "== fuzz_$kind for $seconds s"
    sh "$root/tests/fuzz/run_fuzz.sh" "$build/tests/fuzz/fuzz_$kind" "$kind" "$seconds" || status=1
done
exit $status
