# Shared steps of the end-to-end tests. Each test is run from the build folder with the path of
# the program as its first argument.
set -u
TUVO="$1"
BUILD_DIR="$(pwd)"
OUT="${BUILD_DIR}/e2e-out/$(basename "$0" .sh)"
rm -rf "$OUT"
mkdir -p "$OUT"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# Each test keeps its own settings: a window one test resized must not carry over to the next.
export XDG_CONFIG_HOME="$OUT/config"
GAME_PID=""
WIN=""

fail() {
    echo "FAIL: $*" >&2
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -f "$OUT/game.log" ] && { echo "--- game output:" >&2; cat "$OUT/game.log" >&2; }
    exit 1
}

# Starts the game in the build folder, where textures/ and sounds/ lie, and waits for its window.
# GAME_ARGS holds the program's options, if any; GAME_LAUNCH a command to start it through (such
# as "ip netns exec NAME"); GAME_LOG the file in $OUT it writes to (game.log).
start_game() {
    local log="$OUT/${GAME_LOG:-game.log}" tries=0
    # shellcheck disable=SC2086
    (cd "$BUILD_DIR" && exec ${GAME_LAUNCH:-} "$TUVO" ${GAME_ARGS:-}) >"$log" 2>&1 &
    GAME_PID=$!
    WIN=""
    for i in $(seq 1 200); do
        WIN=$(xdotool search --all --onlyvisible --pid "$GAME_PID" --name '^TUVO!!$' 2>/dev/null | head -n 1)
        [ -n "$WIN" ] && break
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            # A display server busy with a client just killed may turn a new one away for a
            # moment: that is the test machine, not the game, so the game is started again.
            if grep -q "failed to open display" "$log" && [ $((tries += 1)) -le 2 ]; then
                echo "the display turned the game away; starting it again"
                sleep 0.5
                # shellcheck disable=SC2086
                (cd "$BUILD_DIR" && exec ${GAME_LAUNCH:-} "$TUVO" ${GAME_ARGS:-}) >"$log" 2>&1 &
                GAME_PID=$!
                continue
            fi
            fail "the game ended before its window appeared"
        fi
        sleep 0.1
    done
    [ -n "$WIN" ] || fail "no window titled TUVO!!"
    # Let set-up finish and a few frames be drawn.
    sleep "${1:-2}"
}

# Waits for the game to end and checks its exit code.
expect_exit() {
    want="$1"
    for i in $(seq 1 100); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end"
    wait "$GAME_PID"
    code=$?
    GAME_PID=""
    [ "$code" -eq "$want" ] || fail "exit code $code, expected $want"
}

press_key() {
    timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
    xdotool key --clearmodifiers "$1"
}

hold_key() {
    timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

shot() {
    import -window root "$OUT/$1.png" || fail "screenshot $1"
}

# Colour of one screen pixel as "r,g,b" (0..255).
pixel() {
    convert "$OUT/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# Number of pixels that differ between two screenshots inside a region WxH+X+Y.
changed_pixels() {
    convert "$OUT/$1.png" -crop "$3" +repage "$OUT/crop-a.png"
    convert "$OUT/$2.png" -crop "$3" +repage "$OUT/crop-b.png"
    compare -metric AE -fuzz 3% "$OUT/crop-a.png" "$OUT/crop-b.png" null: 2>&1 | cut -d' ' -f1
}

# Pixels differing between two whole screenshots of the same region.
changed_pixels_of() {
    compare -metric AE -fuzz 3% "$OUT/$1.png" "$OUT/$2.png" null: 2>&1 | cut -d' ' -f1
}

# The menu plane in units maps to window pixels: W / 11.5 pixels a unit across, H / 8.3 up.
menu_click() {
    px=$(awk -v u="$1" 'BEGIN { printf "%d", 512 + u * 1024 / 11.5 }')
    py=$(awk -v u="$2" 'BEGIN { printf "%d", 367 - u * 735 / 8.3 }')
    xdotool mousemove "$px" "$py"
    sleep 0.3
    xdotool mousedown 1
    sleep 0.2
    xdotool mouseup 1
}

# Like start_game, for a program started by a command (an installed launcher, say) from the
# given folder: start_command FOLDER COMMAND [SETTLE-SECONDS].
start_command() {
    (cd "$1" && exec "$2") >"$OUT/game.log" 2>&1 &
    GAME_PID=$!
    WIN=""
    for i in $(seq 1 200); do
        WIN=$(xdotool search --all --onlyvisible --pid "$GAME_PID" --name '^TUVO!!$' 2>/dev/null | head -n 1)
        [ -n "$WIN" ] && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.1
    done
    [ -n "$WIN" ] || fail "no window titled TUVO!!"
    sleep "${3:-2}"
}

# ---- Steps shared by the play-through tests -------------------------------------------------

ARENA_MAP="${ARENA_MAP:-$BUILD_DIR/tests/arena_map}"

# The game is never left running, whatever ends the script.
end_game_on_exit() {
    trap '[ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null; true' EXIT
}

# Clicks at menu point (U, V) of a frame drawn in a window of W by H pixels at (0, 0): the
# frame is as large as fits, centred. frame_click W H U V
frame_click() {
    set -- $(awk -v w="$1" -v h="$2" -v u="$3" -v v="$4" 'BEGIN {
        s = w / 1024; if (h / 735 < s) s = h / 735
        fw = int(1024 * s + 0.5); fh = int(735 * s + 0.5)
        fx = int((w - fw) / 2); fy = int((h - fh) / 2)
        printf "%d %d", fx + (u / 11.5 + 0.5) * fw, fy + (0.5 - v / 8.3) * fh }')
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
}

# Clicks START and waits for the first game frames.
start_round() {
    menu_click -0.14 -0.47
    sleep "${1:-2}"
}

# Screenshot of one region WxH+X+Y only, which is quicker than the whole screen.
shot_region() {
    import -window root -crop "$2" +repage "$OUT/$1.png" || fail "screenshot $1"
}

# Copies a screenshot, cut to the window, to $SCREENSHOT_DIR/NAME.png when that folder is given.
keep_screenshot() {
    [ -n "${SCREENSHOT_DIR:-}" ] || return 0
    mkdir -p "$SCREENSHOT_DIR"
    convert "$OUT/$1.png" -crop 1024x735+0+0 +repage "$SCREENSHOT_DIR/$2.png"
}

# Succeeds when colour "r,g,b" lies within TOL of R G B on every channel.
colour_near() {
    echo "$1" | awk -F, -v r="$2" -v g="$3" -v b="$4" -v t="$5" \
        'function d(a, b) { return a > b ? a - b : b - a }
         { exit !(d($1, r) <= t && d($2, g) <= t && d($3, b) <= t) }'
}

# Number of pixels of a screenshot region matching an fx condition on r, g, b (0..1).
count_pixels() {
    convert "$OUT/$1.png" -crop "$2" +repage -fx "$3 ? 1 : 0" -format "%[fx:int(mean*w*h+0.5)]" info:
}

# Share in percent of a region's pixels that changed between two screenshots.
changed_share() {
    n=$(changed_pixels "$1" "$2" "$3")
    echo "$3" | awk -F'[x+]' -v n="${n:-0}" '{ printf "%d", 100 * n / ($1 * $2) }'
}

# Holds KEY until the region WxH+X+Y stops changing (the player has walked into something and
# stands flush against it), at most MAX seconds. Fails the test on time-out.
hold_until_still() {
    key="$1" region="$2" max="$3"
    timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
    xdotool keydown "$key"
    start=$(date +%s.%N)
    sleep 0.4
    shot_region still-a "$region"
    quiet=0
    limit=$(echo "$region" | awk -F'[x+]' '{ printf "%d", $1 * $2 / 50 }')
    while :; do
        sleep 0.25
        shot_region still-b "$region"
        n=$(compare -metric AE -fuzz 3% "$OUT/still-a.png" "$OUT/still-b.png" null: 2>&1 | cut -d' ' -f1)
        # A creature or a spinning item far off may still move: a step changes far more.
        if [ "${n:-$limit}" -lt "$limit" ]; then quiet=$((quiet + 1)); else quiet=0; fi
        [ "$quiet" -ge 2 ] && break
        mv "$OUT/still-b.png" "$OUT/still-a.png"
        if awk -v s="$start" -v n="$(date +%s.%N)" -v m="$max" 'BEGIN { exit !(n - s > m) }'; then
            xdotool keyup "$key"
            fail "still moving after holding $key for $max s"
        fi
    done
    xdotool keyup "$key"
}

