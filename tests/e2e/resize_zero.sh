# A window squeezed to no height and back keeps the game running: frames go on being drawn and
# Esc still ends the program with code 0. X keeps a window at least one row high, so a request
# for no height leaves it as it is; the squeeze that reaches the game is to a single row.
. "$(dirname "$0")/lib/common.sh"
start_game
start_round
window_height() {
    xwininfo -id "$WIN" | awk '/Height:/ { print $2 }'
}
height_is() {
    [ "$(window_height)" = "$1" ]
}
# Drawn again after the squeeze: the player views at the bottom are not black.
views_drawn() {
    shot back
    [ "$(pixel back 256 635)" != "0,0,0" ]
}
xdotool windowsize "$WIN" 1024 0 || fail "could not ask for a window of no height"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended when asked for no height"
xdotool windowsize "$WIN" 1024 1 || fail "could not resize the window"
wait_for "the window one row high" height_is 1
# Both players walk for a moment at one row high.
hold_key Up 0.5
hold_key r 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at one row high"
xdotool windowsize "$WIN" 1024 735 || fail "could not resize the window back"
wait_for "the window back at 735 rows" height_is 735
wait_for "the player views drawn again after the resize" views_drawn
press_key Escape
expect_exit 0
echo "resize ok"
