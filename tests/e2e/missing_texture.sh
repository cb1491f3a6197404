# A picture missing from textures/ stops the program before the first frame: it names the file
# on standard error, shows a message box titled "Error" where the display offers one, and ends
# with exit code 0 once the box is closed.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tuvo-missing.XXXXXX") || fail "no temp folder"
trap '[ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null; rm -rf "$RUN_DIR"' EXIT
cp -r "$BUILD_DIR/textures" "$BUILD_DIR/sounds" "$RUN_DIR/" || fail "cannot copy the data files"
rm "$RUN_DIR/textures/aut_wint_ground40.bmp"

PROGRAM=$(readlink -f "$TUVO")
(cd "$RUN_DIR" && exec "$PROGRAM") >"$OUT/game.out" 2>"$OUT/game.log" &
GAME_PID=$!
BOX=""
# The box, or the game's end where the display offers SDL no box.
box_or_end() {
    # SDL's box carries no class, which xdotool's search passes over; xwininfo lists it.
    BOX=$(xwininfo -root -tree 2>/dev/null | awk '$2 == "\"Error\":" { print $1; exit }')
    [ -n "$BOX" ] || game_ended
}
wait_for "an error box, or the game to end" box_or_end

if [ -n "$BOX" ]; then
    shot box
    # The program waits for the box: its window has not drawn a single frame meanwhile.
    GAME_WIN=$(xdotool search --name '^TUVO!!$' 2>/dev/null | head -n 1)
    if [ -n "$GAME_WIN" ]; then
        import -window "$GAME_WIN" "$OUT/window.png" 2>/dev/null &&
            colours=$(convert "$OUT/window.png" -format "%k" info:) &&
            [ "$colours" -le 2 ] || fail "the game window shows a picture behind the error box"
    fi
    # Return presses the box's OK button once the box has the keyboard focus; it is pressed
    # again until the game has ended.
    press_ok() {
        game_ended && return 0
        timeout 3 xdotool windowfocus --sync "$BOX" 2>/dev/null
        xdotool key Return
        return 1
    }
    wait_for "Return on the box to end the game" press_ok
else
    echo "no message box appeared: this display offers SDL none (the text still goes to stderr)"
fi

expect_exit 0
grep -qxF "Failed to open DIB file textures/aut_wint_ground40.bmp." "$OUT/game.log" ||
    fail "standard error does not name the missing file"
# Only the first missing file is reported: loading stops at it.
[ "$(grep -c 'Failed to open' "$OUT/game.log")" -eq 1 ] || fail "more than one failure reported"
rm -rf "$OUT"
echo "missing texture ok"
