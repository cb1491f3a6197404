# A window squeezed to no height and back keeps the game running: frames go on being drawn and
# Esc still ends the program with code 0.
. "$(dirname "$0")/lib/common.sh"
start_game 3
menu_click -0.14 -0.47
sleep 2
xdotool windowsize "$WIN" 1024 0 || fail "could not resize the window"
sleep 1
hold_key Up 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at zero height"
xdotool windowsize "$WIN" 1024 1 || fail "could not resize the window"
sleep 1
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
