# A window squeezed to no height and back keeps the game running: frames go on being drawn and
# Esc still ends the program with code 0. X keeps a window at least one row high, so a request
# for no height leaves it as it is; the squeeze that reaches the game is to a single row.
. "$(dirname "$0")/lib/common.sh"
start_game 3
menu_click -0.14 -0.47
sleep 2
window_height() {
    xwininfo -id "$WIN" | awk '/Height:/ { print $2 }'
}
xdotool windowsize "$WIN" 1024 0 || fail "could not ask for a window of no height"
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended when asked for no height"
xdotool windowsize "$WIN" 1024 1 || fail "could not resize the window"
sleep 1
height=$(window_height)
[ "$height" = 1 ] || fail "the window is $height rows high, not 1"
hold_key Up 0.5
hold_key r 0.5
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at one row high"
xdotool windowsize "$WIN" 1024 735 || fail "could not resize the window back"
sleep 2
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after the resize"
shot back
# Drawn again after the squeeze: the player views at the bottom are not black.
left=$(pixel back 256 635)
[ "$left" != "0,0,0" ] || fail "the bottom left view is black after the resize"
press_key Escape
expect_exit 0
echo "resize ok"
