# SIGTERM and SIGINT end the game, also while it waits on its "Error" box, and
# the box goes with it; a game killed outright takes its box along too. Nothing of the game is
# left on screen or in the process list.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tuvo-signals.XXXXXX") || fail "no temp folder"
trap '[ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null; rm -rf "$RUN_DIR"' EXIT
cp -r "$BUILD_DIR/textures" "$BUILD_DIR/sounds" "$RUN_DIR/" || fail "cannot copy the data files"
rm "$RUN_DIR/textures/winter_ground.bmp"
PROGRAM=$(readlink -f "$TUVO")

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Every process below the game, children first found.
descendants() {
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        echo "$child"
        descendants "$child"
    done
}

# A process that ended waits as a zombie until someone reaps it: that counts as gone.
alive() {
    state=$(ps -o stat= -p "$1" 2>/dev/null)
    [ -n "$state" ] && [ "${state#Z}" = "$state" ]
}

box_window() {
    xwininfo -root -tree 2>/dev/null | awk '$2 == "\"Error\":" { print $1; exit }'
}

# Starts the game without its winter ground and waits for the box that names the missing file.
start_with_box() {
    (cd "$RUN_DIR" && exec "$PROGRAM") >"$OUT/game.log" 2>&1 &
    GAME_PID=$!
    wait_for "the error box naming the missing picture" box_shown
    BOX_PIDS=$(descendants "$GAME_PID")
    [ -n "$BOX_PIDS" ] || fail "the box is not drawn by a process of the game's"
}

box_shown() {
    [ -n "$(box_window)" ]
}

# Succeeds once no process of the game's and no box is left.
all_gone() {
    left=""
    for p in ${BOX_PIDS:-}; do alive "$p" && left="$left $p"; done
    [ -z "$left" ] && [ -z "$(box_window)" ]
}

# Sends SIGNAL to the game and checks that it, its box, its window and its processes go (how long
# it took is said, not judged: that is for a quiet machine to measure). Leaves the exit code in
# CODE.
end_with() {
    t0=$(now_ms)
    kill -"$1" "$GAME_PID"
    wait_for "the game to end on SIG$1" game_ended
    wait "$GAME_PID"
    CODE=$?
    GAME_PID=""
    wait_for "the game's box and processes to go after SIG$1" all_gone
    [ -z "$(xdotool search --name '^TUVO!!$' 2>/dev/null)" ] || fail "SIG$1: a game window is left"
    echo "SIG$1: gone after $(($(now_ms) - t0)) ms, exit code $CODE"
}

start_with_box
shot box
end_with TERM
[ "$CODE" -eq 0 ] || fail "exit code $CODE after SIGTERM at the box"
grep -qxF "Failed to open DIB file textures/winter_ground.bmp." "$OUT/game.log" ||
    fail "standard error does not name the missing file"

start_with_box
end_with KILL

# The title menu: SIGINT (Ctrl-C) ends the game the way closing its window does.
BOX_PIDS=""
start_game
end_with INT
[ "$CODE" -eq 0 ] || fail "exit code $CODE after SIGINT on the title menu"
rm -rf "$OUT"
echo "signals ok"
