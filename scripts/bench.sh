#!/bin/sh
# Builds in Release and measures the round's tick, a copy of the round and its fingerprint, and
# the game on the software renderer (Mesa llvmpipe):
#  - frame times of representative frames at 1024 x 735 (the window) and at 1504 x 1080 (the frame
#    of a 1920 x 1080 screen), each also as a ratio to an empty frame of the same size drawn in
#    the same run, which holds from one machine to the next where the times do not;
#  - the same frames at 1504 x 1080 with the player views drawn at each render scale (85, 70 and
#    50 % of the frame's width and height), against 100 % in the same run;
#  - the time from start to the first title frame;
#  - the real program, this build and an older one (the build before the frame-cost work, or
#    BASE_REF), side by side on one virtual 1920 x 1080 screen, each in a 1024 x 735 window and in
#    full screen: frames a second over ten seconds of the same round (same seed) and the peak
#    resident memory of the session; this build also unpaced (TUVO_UNPACED=1), in full screen
#    at AUTO (the default) and at each fixed render scale; then this build in full screen with
#    the default settings against the older one in its window, and 70 % against 100 %.
#   scripts/bench.sh [build folder, default build-bench] [frames per scene, default 300; 0: only
#   the real program]
#   BASE_REF=<git revision> (default e7f1ee2; "none" leaves the older build out)
#   FPS_SECONDS=<seconds counted per session> (default 10)
# Starts virtual X displays as needed. Benchmarks measure; they never fail on a time.
set -eu
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
BUILD="${1:-build-bench}"
FRAMES="${2:-300}"
BASE_REF="${BASE_REF:-e7f1ee2}"
FPS_SECONDS="${FPS_SECONDS:-10}"
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
scripts/setup.sh
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTUVO_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target tuvo frame_bench startup_bench swap_counter tick_bench >/dev/null

# The older build, from the repository's own history, in a folder of its own under the build.
BASE_BUILD=""
if [ "$BASE_REF" != "none" ]; then
    if git -C "$ROOT" rev-parse --verify --quiet "$BASE_REF^{commit}" >/dev/null; then
        base_src="$BUILD/base/src"
        BASE_BUILD="$BUILD/base/build"
        stamp="$BUILD/base/revision"
        wanted=$(git -C "$ROOT" rev-parse "$BASE_REF^{commit}")
        if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$wanted" ]; then
            rm -rf "$BUILD/base"
            mkdir -p "$base_src"
            git -C "$ROOT" archive "$wanted" | tar -x -C "$base_src"
            echo "$wanted" >"$stamp"
        fi
        cmake -S "$base_src" -B "$BASE_BUILD" -DCMAKE_BUILD_TYPE=Release -DTUVO_TESTS=OFF >/dev/null
        cmake --build "$BASE_BUILD" -j"$(nproc)" --target tuvo >/dev/null
    else
        echo "no revision $BASE_REF in this repository: the older build is left out" >&2
    fi
fi

XVFB_PID=""
SCREEN_PID=""
GAME_PID=""
WORK="$(mktemp -d)"
cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$SCREEN_PID" ] && kill "$SCREEN_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
    return 0
}
trap cleanup EXIT
. scripts/lib/xvfb.sh
start_xvfb
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# The game keeps its settings here, not in the user's.
export XDG_CONFIG_HOME="$WORK/config"
export XDG_STATE_HOME="$WORK/state"
cd "$BUILD"

echo "== machine"
echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores"
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

if [ "$FRAMES" -gt 0 ]; then
echo "== the round without drawing"
./bench/tick_bench 3
echo

# Ratio lines of one frame_bench table: "name|ratio".
ratios() {
    sed -n 's/^| \([^|]*[a-z)]\) | [0-9]* | [0-9.]* | [0-9.]* | \([0-9.]*\) |.*/\1|\2/p' "$1"
}

echo "== frames at 1024 x 735 (the renderer and GL version are the context's own)"
./bench/frame_bench --size 1024x735 "$FRAMES" | tee "$WORK/frames-small.txt"
echo
echo "== frames at 1504 x 1080, the frame of a 1920 x 1080 screen"
./bench/frame_bench --size 1504x1080 "$FRAMES" | tee "$WORK/frames-large.txt"
echo
echo "== ratios to the empty frame of the same size, same run"
echo "| frame | 1024 x 735 | 1504 x 1080 |"
echo "| --- | ---: | ---: |"
ratios "$WORK/frames-small.txt" >"$WORK/small.txt"
ratios "$WORK/frames-large.txt" >"$WORK/large.txt"
while IFS='|' read -r name small; do
    large=$(awk -F'|' -v n="$name" '$1 == n { print $2 }' "$WORK/large.txt")
    echo "| $name | $small x | ${large:-?} x |"
done <"$WORK/small.txt"
echo

echo "== full screen (1504 x 1080) with the player views at each render scale, same run"
# Name, median ms and processor ms of each row of one frame_bench table: "name|ms|processor".
medians() {
    sed -n 's/^| \([^|]*[a-z)]\) | [0-9]* | \([0-9.]*\) | [0-9.]* | [0-9.]* | \([0-9.]*\) |.*/\1|\2|\3/p' "$1"
}
./bench/frame_bench --size 1504x1080 --scale 100 --no-views "$FRAMES" >"$WORK/scale-100.txt"
for scale in 85 70 50; do
    ./bench/frame_bench --size 1504x1080 --scale "$scale" --no-views "$FRAMES" >"$WORK/scale-$scale.txt"
done
echo "| frame (median ms, processor ms in brackets; x: as many frames as at 100 %) | 100 % | 85 % | 70 % | 50 % |"
echo "| --- | ---: | ---: | ---: | ---: |"
medians "$WORK/scale-100.txt" >"$WORK/m-100.txt"
while IFS='|' read -r name ms cpu; do
    row="| $name | $ms ($cpu)"
    for scale in 85 70 50; do
        cell=$(medians "$WORK/scale-$scale.txt" | awk -F'|' -v n="$name" -v base="$ms" '$1 == n {
            printf "%s (%s), %.2f x", $2, $3, base / $2 }')
        row="$row | ${cell:-?}"
    done
    echo "$row |"
done <"$WORK/m-100.txt"
echo

echo "== start-up"
./bench/startup_bench ./tuvo 5
echo
fi

# The real program on a screen of its own, 1920 x 1080, whatever display the rest used.
screen_display=""
for n in $(seq 131 170); do
    if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then
        Xvfb :$n -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        SCREEN_PID=$!
        screen_display=":$n"
        break
    fi
done
for i in $(seq 1 50); do
    DISPLAY=$screen_display xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

# One session: start PROGRAM (in its build folder) in MODE (window or fullscreen), click START,
# let the round run 3 s, count the frames shown over FPS_SECONDS, quit with Esc. Prints a table
# row: frames a second and the session's peak resident memory.
session() {
    label=$1 folder=$2 mode=$3 pacing=${4:-paced} scale=${5:-}
    rm -rf "$XDG_CONFIG_HOME" "$XDG_STATE_HOME"
    # A fixed render scale, as OPTIONS keeps it; none: the default (AUTO in this build).
    if [ -n "$scale" ]; then
        mkdir -p "$XDG_CONFIG_HOME/tuvo"
        printf '[window]\nrender_scale = %s\n' "$scale" >"$XDG_CONFIG_HOME/tuvo/settings.ini"
    fi
    swaps="$WORK/swaps-$label-$mode-$pacing$scale.txt"
    times="$WORK/time-$label-$mode-$pacing$scale.txt"
    unpaced=0
    [ "$pacing" = unpaced ] && unpaced=1
    (cd "$folder" && DISPLAY=$screen_display TUVO_SEED=8028 TUVO_UNPACED=$unpaced exec /usr/bin/time -v -o "$times" \
        env LD_PRELOAD="$BUILD/bench/libswap_counter.so" SWAP_COUNTER_FILE="$swaps" \
        ./tuvo >/dev/null 2>&1) &
    GAME_PID=$!
    win=""
    for i in $(seq 1 300); do
        win=$(DISPLAY=$screen_display xdotool search --onlyvisible --name '^TUVO!!$' 2>/dev/null | head -n 1)
        [ -n "$win" ] && break
        sleep 0.1
    done
    last_fps=""
    if [ -z "$win" ]; then
        echo "| $label | $mode | no game window | |"
        kill "$GAME_PID" 2>/dev/null || true
        wait "$GAME_PID" || true
        GAME_PID=""
        return 0
    fi
    sleep 2
    # Full screen as a player asks for it, with F11 (without a window manager the game covers
    # the screen itself then).
    if [ "$mode" = fullscreen ]; then
        timeout 5 env DISPLAY=$screen_display xdotool windowfocus --sync "$win" 2>/dev/null || true
        DISPLAY=$screen_display xdotool key --clearmodifiers F11
        for i in $(seq 1 50); do
            DISPLAY=$screen_display xdotool getwindowgeometry "$win" | grep -q "Geometry: 1920x1080" &&
                break
            sleep 0.1
        done
        sleep 1
    fi
    # START's centre, where the frame shows in the window (as tests/e2e/lib/common.sh finds it).
    set -- $(DISPLAY=$screen_display xdotool getwindowgeometry "$win" |
        sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
    set -- $(awk -v w="$1" -v h="$2" -v u=-0.14 -v v=-0.47 'BEGIN {
        s = w / 1024; if (h / 735 < s) s = h / 735
        fw = int(1024 * s + 0.5); fh = int(735 * s + 0.5)
        fx = int((w - fw) / 2); fy = int((h - fh) / 2)
        printf "%d %d %dx%d", fx + (u / 11.5 + 0.5) * fw, fy + (0.5 - v / 8.3) * fh, fw, fh }')
    frame=$3
    DISPLAY=$screen_display xdotool mousemove --window "$win" "$1" "$2"
    sleep 0.3
    DISPLAY=$screen_display xdotool mousedown 1
    sleep 0.1
    DISPLAY=$screen_display xdotool mouseup 1
    from=$(date +%s.%N)
    sleep $((3 + FPS_SECONDS))
    timeout 5 env DISPLAY=$screen_display xdotool windowfocus --sync "$win" 2>/dev/null || true
    DISPLAY=$screen_display xdotool key --clearmodifiers Escape
    wait "$GAME_PID" || true
    GAME_PID=""
    fps=$(awk -v a="$from" -v s="$FPS_SECONDS" \
        '$1 >= a + 3 && $1 < a + 3 + s { n++ } END { printf "%.1f", n / s }' "$swaps" 2>/dev/null)
    peak=$(sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$times")
    echo "| $label | $mode, frame $frame | ${fps:-?} | $((${peak:-0} / 1024)) MiB |"
    last_fps=$fps
}

# "A against B: R x" for two frames-a-second figures, either of them possibly missing.
against() {
    awk -v a="$2" -v b="$3" -v what="$1" 'BEGIN {
        if (a > 0 && b > 0) printf "%s: %.2f x (%s against %s frames a second)\n", what, a / b, a, b
        else printf "%s: not measured\n", what }'
}

echo "== the real program on a 1920 x 1080 screen: the round's first ${FPS_SECONDS} s after 3 s, seed 8028"
echo "| build | window | frames a second | peak resident memory |"
echo "| --- | --- | ---: | ---: |"
before_window=""
if [ -n "$BASE_BUILD" ]; then
    session "before ($(git -C "$ROOT" rev-parse --short "$BASE_REF^{commit}"))" "$BASE_BUILD" window
    before_window=$last_fps
    session "before ($(git -C "$ROOT" rev-parse --short "$BASE_REF^{commit}"))" "$BASE_BUILD" fullscreen
fi
session "this build" "$BUILD" window
session "this build" "$BUILD" fullscreen
full_default=$last_fps
# The game paces its frames to the display's refresh (60 a second here); unpaced, the frames a
# second say what the machine could draw. AUTO aims at the refresh all the same.
session "this build, unpaced" "$BUILD" window unpaced
session "this build, unpaced" "$BUILD" fullscreen unpaced
for scale in 100 85 70 50; do
    session "this build, unpaced, render scale $scale %" "$BUILD" fullscreen unpaced "$scale"
    eval "full_$scale=\$last_fps"
done
echo
against "this build in full screen with the default settings (AUTO) against $BASE_REF in its window" \
    "$full_default" "$before_window"
against "this build in full screen, unpaced, render scale 70 % against 100 %" "$full_70" "$full_100"
