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
# Rounds the game keeps go to the test's own folder.
export XDG_DATA_HOME="$OUT/data"
GAME_PID=""
WIN=""

fail() {
    echo "FAIL: $*" >&2
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "${BURST_PID:-}" ] && touch "$OUT/burst-stop"
    [ -f "$OUT/game.log" ] && { echo "--- game output:" >&2; cat "$OUT/game.log" >&2; }
    exit 1
}

# The longest any one wait may take, in seconds: a busy machine is slow, but a game that never
# shows what is waited for is broken.
WAIT_LIMIT="${E2E_WAIT_LIMIT:-60}"

# wait_for WHAT COMMAND [ARGUMENT...]: runs COMMAND until it succeeds, and fails the test saying
# it waited for WHAT when WAIT_LIMIT seconds pass first or the game ends meanwhile.
wait_for() {
    local what="$1" deadline
    shift
    deadline=$(($(date +%s) + WAIT_LIMIT))
    until "$@"; do
        if [ -n "$GAME_PID" ] && ! kill -0 "$GAME_PID" 2>/dev/null; then
            "$@" && return 0
            fail "the game ended while the test waited for $what"
        fi
        [ "$(date +%s)" -lt "$deadline" ] || fail "waited $WAIT_LIMIT s for $what"
        sleep 0.2
    done
}

# Succeeds once the game's window shows a drawn frame, not the blank of a window just mapped:
# every picture of the game has far more than a thousand colours.
frame_drawn() {
    import -window "$WIN" "$OUT/drawn.bmp" 2>/dev/null || return 1
    [ "$(convert "$OUT/drawn.bmp" -format %k info: 2>/dev/null || echo 0)" -gt 1000 ]
}

# Finds the window of GAME_PID titled TUVO!!, into WIN.
find_window() {
    WIN=$(xdotool search --all --onlyvisible --pid "$GAME_PID" --name '^TUVO!!$' 2>/dev/null | head -n 1)
    [ -n "$WIN" ]
}

# Starts the game in the build folder, where textures/ and sounds/ lie, and waits for its window
# and its first frame. GAME_ARGS holds the program's options, if any; GAME_LAUNCH a command to
# start it through (such as "ip netns exec NAME"); GAME_LOG the file in $OUT it writes to
# (game.log).
start_game() {
    local log="$OUT/${GAME_LOG:-game.log}" tries=0
    # The views keep one size unless a test chooses a render scale: AUTO's steps on a busy
    # machine would change pictures of things nobody moved.
    local settings="$XDG_CONFIG_HOME/tuvo/settings.ini"
    if ! grep -q '^render_scale' "$settings" 2>/dev/null; then
        mkdir -p "$XDG_CONFIG_HOME/tuvo"
        printf '[window]\nrender_scale = 100\n' >>"$settings"
    fi
    while :; do
        # shellcheck disable=SC2086
        (cd "$BUILD_DIR" && exec ${GAME_LAUNCH:-} "$TUVO" ${GAME_ARGS:-}) >"$log" 2>&1 &
        GAME_PID=$!
        WIN=""
        local deadline=$(($(date +%s) + WAIT_LIMIT))
        until find_window; do
            kill -0 "$GAME_PID" 2>/dev/null || break
            [ "$(date +%s)" -lt "$deadline" ] || fail "waited $WAIT_LIMIT s for a window titled TUVO!!"
            sleep 0.1
        done
        [ -n "$WIN" ] && break
        # A display server busy with a client just killed may turn a new one away for a moment:
        # that is the test machine, not the game, so the game is started again once it has
        # answered a client of ours.
        grep -q "failed to open display" "$log" && [ $((tries += 1)) -le 2 ] ||
            fail "the game ended before its window appeared"
        echo "the display turned the game away; starting it again"
        GAME_PID=""
        wait_for "the display to answer" display_answers
    done
    wait_for "a first frame in the game's window" frame_drawn
}

# Waits for the game to end and checks its exit code.
expect_exit() {
    want="$1"
    wait_for "the game to end" game_ended
    wait "$GAME_PID"
    code=$?
    GAME_PID=""
    [ "$code" -eq "$want" ] || fail "exit code $code, expected $want"
}

display_answers() {
    xdpyinfo >/dev/null 2>&1
}

game_ended() {
    ! kill -0 "$GAME_PID" 2>/dev/null
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
    # The game keeps a press until its next frame and reads the pointer there: the pointer must
    # stay until the click has shown its effect.
    xdotool mousemove "$px" "$py" mousedown 1 mouseup 1
}

# Like start_game, for a program started by a command (an installed launcher, say) from the
# given folder: start_command FOLDER COMMAND.
start_command() {
    (cd "$1" && exec "$2") >"$OUT/game.log" 2>&1 &
    GAME_PID=$!
    wait_for "a window titled TUVO!!" find_window
    wait_for "a first frame in the game's window" frame_drawn
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
    xdotool mousemove "$1" "$2" mousedown 1 mouseup 1
}

# The strip of the two player views, where the title picture gives way to the round.
VIEWS_STRIP=1024x200+0+535

# Clicks START and waits for the round's first frames: the strip of the player views no longer
# shows the title picture.
start_round() {
    shot_region before-round "$VIEWS_STRIP"
    menu_click -0.14 -0.47
    wait_for "the round to replace the title picture" region_changed before-round round-strip \
        "$VIEWS_STRIP" 50
}

# Screenshot of one region WxH+X+Y only, which is quicker than the whole screen.
shot_region() {
    import -window root -crop "$2" +repage "$OUT/$1.png" || fail "screenshot $1"
}

# ---- What the tests wait for ----------------------------------------------------------------

# region_changed REF NAME REGION PERCENT: takes screenshot NAME of REGION (WxH+X+Y) and succeeds
# when at least PERCENT % of its pixels differ from screenshot REF, taken of the same region.
region_changed() {
    shot_region "$2" "$3"
    n=$(changed_pixels_of "$1" "$2")
    echo "$3" | awk -F'[x+]' -v n="${n:-0}" -v p="$4" '{ exit !(100 * n >= p * $1 * $2) }'
}

# screen_changed REF NAME REGION PERCENT: takes screenshot NAME of the whole screen and succeeds
# when at least PERCENT % of REGION differ from screenshot REF.
screen_changed() {
    shot "$2"
    [ "$(changed_share "$1" "$2" "$3")" -ge "$4" ]
}

# screen_differs REF NAME REGION PIXELS: takes screenshot NAME of the whole screen and succeeds
# when at least PIXELS pixels of REGION differ from screenshot REF.
screen_differs() {
    shot "$2"
    [ "$(changed_pixels "$1" "$2" "$3")" -ge "$4" ]
}

# screen_shows NAME X Y R G B TOLERANCE: takes screenshot NAME and succeeds when its pixel (X, Y)
# lies within TOLERANCE of colour R G B.
screen_shows() {
    shot "$1"
    colour_near "$(pixel "$1" "$2" "$3")" "$4" "$5" "$6" "$7"
}

# Where a round over the network says "THE OTHER PLAYER LEFT": white letters on a dark band
# across the overview.
BANNER_LETTERS=300x30+362+234
# banner_shown REF NAME: takes screenshot NAME and succeeds when it shows the banner's white
# letters where screenshot REF, of the round before, did not.
banner_shown() {
    shot "$2"
    white="r > 0.9 && g > 0.9 && b > 0.9"
    [ "$(count_pixels "$2" "$BANNER_LETTERS" "$white")" -ge \
        $(($(count_pixels "$1" "$BANNER_LETTERS" "$white") + 300)) ]
}

# ---- The mixed sound, heard through SDL's disk driver ----------------------------------------
# A test that listens sets SDL_AUDIODRIVER=disk and SDL_DISKAUDIOFILE; the driver writes the mix
# at 8000 Hz, unsigned 8-bit, mono, in real time.
MIX_RATE=8000

mix_bytes() {
    stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0
}

# mix_holds BYTES: succeeds once the mix file holds that many bytes.
mix_holds() {
    [ "$(mix_bytes)" -ge "$1" ]
}

# RMS amplitude (0..1) of LENGTH bytes of the mix from byte FROM on.
mix_rms() {
    tail -c +$(($1 + 1)) "$SDL_DISKAUDIOFILE" | head -c "$2" >"$OUT/part.raw"
    sox -t raw -r $MIX_RATE -e unsigned -b 8 -c 1 "$OUT/part.raw" -n stats 2>&1 |
        awk '/^RMS lev dB/ { if ($4 == "-inf") print 0; else printf "%.4f", 10 ^ ($4 / 20) }'
}

# loudest_between FROM TO: LOUDEST becomes the loudest RMS of 1.1 s of the mix (a blast's
# length) starting between byte FROM and byte TO, in steps of 0.2 s. Waits for the mix to reach
# that far.
loudest_between() {
    local at="$1" best=0 level
    wait_for "$(($2 + MIX_RATE * 11 / 10)) bytes of the mix" mix_holds $(($2 + MIX_RATE * 11 / 10))
    while [ "$at" -le "$2" ]; do
        level=$(mix_rms "$at" $((MIX_RATE * 11 / 10)))
        best=$(awk -v a="$best" -v b="$level" 'BEGIN { print (b > a ? b : a) }')
        at=$((at + MIX_RATE / 5))
    done
    LOUDEST=$best
}

# Waits until a bomb dropped now has gone off (its fuse is 3.5 s of the round's time: six
# seconds on the clock cover it however slowly the machine draws); BLAST_BY becomes the byte of
# the mix by which its blast has been written. The game queues what it mixes a moment ahead of
# the driver, well under 1.5 s.
wait_for_blast() {
    wait_round_seconds 6
    BLAST_BY=$(($(mix_bytes) + MIX_RATE * 3 / 2))
}

# start_burst REGION: shoots REGION (WxH+X+Y) over and over into $OUT/burst-1.bmp, burst-2.bmp
# and on, uncompressed (a PNG takes too long to catch what shows for half a second), until
# stop_burst. A shot's file appears whole or not at all.
start_burst() {
    rm -f "$OUT"/burst-*.bmp "$OUT/burst-stop"
    (
        i=1
        while [ ! -e "$OUT/burst-stop" ]; do
            import -window root -crop "$1" +repage "bmp:$OUT/burst.part" 2>/dev/null &&
                mv "$OUT/burst.part" "$OUT/burst-$i.bmp" && i=$((i + 1))
        done
    ) &
    BURST_PID=$!
}

stop_burst() {
    touch "$OUT/burst-stop"
    wait "$BURST_PID"
    BURST_PID=""
}

# observe SECONDS: a check that something does NOT happen has no sign to wait for; the game gets
# this long to show it, and a slow machine only makes the check weaker, never wrong.
observe() {
    sleep "$1"
}

# The round's clock in the heads-up display, above the overview.
CLOCK_REGION=90x20+470+15

# Waits until the round's clock has shown N more seconds, which is at least N - 1 seconds of the
# round's own time however slowly the machine draws. A change missed between two looks only makes
# the wait longer.
wait_round_seconds() {
    local need="$1" seen=0 deadline=$(($(date +%s) + WAIT_LIMIT + 4 * $1))
    shot_region clock-then "$CLOCK_REGION"
    while [ "$seen" -lt "$need" ]; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "the round's clock moved on only $seen of $need seconds"
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while its clock was watched"
        sleep 0.1
        shot_region clock-now "$CLOCK_REGION"
        if [ "$(changed_pixels_of clock-then clock-now)" -ge 5 ]; then
            seen=$((seen + 1))
            mv "$OUT/clock-now.png" "$OUT/clock-then.png"
        fi
    done
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
# stands flush against it): it looks the same from one look to the next while the round's clock
# moves on twice, a second or more of the round's time. Fails the test after WAIT_LIMIT seconds.
hold_until_still() {
    local key="$1" region="$2" limit clock_moves=0 deadline=$(($(date +%s) + WAIT_LIMIT))
    timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
    xdotool keydown "$key"
    shot_region still-a "$region"
    shot_region clock-then "$CLOCK_REGION"
    # A creature or a spinning item far off may still move: a step changes far more.
    limit=$(echo "$region" | awk -F'[x+]' '{ printf "%d", $1 * $2 / 50 }')
    while [ "$clock_moves" -lt 2 ]; do
        if [ "$(date +%s)" -ge "$deadline" ] || ! kill -0 "$GAME_PID" 2>/dev/null; then
            xdotool keyup "$key"
            # A caller that tries again asks for an answer instead of the end of the test.
            [ -n "${HOLD_MAY_FAIL:-}" ] && return 1
            fail "player still moving after holding $key for $WAIT_LIMIT s (or the game ended)"
        fi
        sleep 0.1
        shot_region still-b "$region"
        shot_region clock-now "$CLOCK_REGION"
        n=$(changed_pixels_of still-a still-b)
        ticked=$(changed_pixels_of clock-then clock-now)
        if [ "${n:-$limit}" -ge "$limit" ]; then
            clock_moves=0
        elif [ "${ticked:-0}" -ge 5 ]; then
            clock_moves=$((clock_moves + 1))
        fi
        mv "$OUT/still-b.png" "$OUT/still-a.png"
        [ "${ticked:-0}" -ge 5 ] && mv "$OUT/clock-now.png" "$OUT/clock-then.png"
    done
    xdotool keyup "$key"
}
