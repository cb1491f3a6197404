#!/bin/sh
# Builds in Release and measures the round's tick, a copy of the round and its fingerprint, and
# the game on the software renderer (Mesa llvmpipe) at the window size of 1024 x 735: frame
# times of representative frames, the time from start to the first title frame, and the peak
# resident memory of a short session. Prints the tables.
#   scripts/bench.sh [build folder, default build-bench] [frames per scene, default 300]
# Starts a virtual X display when there is none. Benchmarks measure; they never fail on a time.
set -eu
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
BUILD="${1:-build-bench}"
FRAMES="${2:-300}"
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
scripts/setup.sh
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTUVO_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target tuvo frame_bench startup_bench tick_bench >/dev/null

XVFB_PID=""
GAME_PID=""
cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -f "$BUILD/session-time.txt"
    return 0
}
trap cleanup EXIT
. scripts/lib/xvfb.sh
start_xvfb
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
cd "$BUILD"

echo "== machine"
echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores"
echo

echo "== the round without drawing"
./bench/tick_bench 3
echo

echo "== frames (the renderer and GL version are the context's own)"
./bench/frame_bench "$FRAMES"
echo

echo "== start-up"
./bench/startup_bench ./tuvo 5
echo

# Peak memory: start the game, click START, let the round run five seconds, quit with Esc.
echo "== memory"
/usr/bin/time -v -o session-time.txt ./tuvo >/dev/null 2>&1 &
GAME_PID=$!
WIN=""
for i in $(seq 1 300); do
    WIN=$(xdotool search --onlyvisible --name '^TUVO!!$' 2>/dev/null | head -n 1)
    [ -n "$WIN" ] && break
    sleep 0.1
done
if [ -z "$WIN" ]; then
    echo "no game window for the memory session" >&2
    exit 1
fi
sleep 2
# The centre of the start area, in window pixels.
xdotool mousemove 499 408
sleep 0.3
xdotool mousedown 1
sleep 0.2
xdotool mouseup 1
sleep 5
timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
xdotool key --clearmodifiers Escape
wait "$GAME_PID" || true
GAME_PID=""
peak=$(sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' session-time.txt)
code=$(sed -n 's/^[[:space:]]*Exit status: //p' session-time.txt)
echo "peak resident memory over a 5 s round: $((peak / 1024)) MiB ($peak kB), exit code $code"
