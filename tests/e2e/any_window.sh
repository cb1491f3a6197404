# At any window size the frame keeps its proportions, centred with black bars, and a click on
# START where it shows starts the round; F11 puts the game on the whole screen and back, and the
# window's size and place on the screen are kept for the next start.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2

geometry_is() {
    xdotool getwindowgeometry "$WIN" | grep -q "Geometry: $1\$"
}
# bars_at NAME X1 Y1 X2 Y2: takes screenshot NAME, black at both points.
bars_at() {
    shot "$1"
    [ "$(pixel "$1" "$2" "$3")" = "0,0,0" ] && [ "$(pixel "$1" "$4" "$5")" = "0,0,0" ]
}

# Wide: bars left and right. The frame is 1254 by 900 at x 173.
start_game
xdotool windowsize "$WIN" 1600 900 || fail "could not resize the window"
wait_for "the window at 1600 by 900" geometry_is 1600x900
wait_for "black bars left and right of the wide frame" bars_at wide-title 80 450 1520 450
[ "$(pixel wide-title 800 40)" != "0,0,0" ] || fail "the title picture does not fill its place"
frame_click 1600 900 -0.14 -0.47
# The player views take the frame's lower 245 rows.
wait_for "the round in the wide frame" screen_changed wide-title wide-game 1254x245+173+655 50
# The overview fills the frame's upper 655 rows, the player views the 245 below.
for spot in "190 20" "1410 20" "800 640" "190 880" "1410 880"; do
    set -- $spot
    [ "$(pixel wide-game "$1" "$2")" != "0,0,0" ] || fail "the round does not fill ($1, $2)"
done
[ "$(pixel wide-game 80 450)" = "0,0,0" ] || fail "the round draws over the bar"
keep_screenshot wide-game any-window
press_key Escape
expect_exit 0
size=$(grep -A3 '^\[window\]' "$XDG_CONFIG_HOME/tuvo/settings.ini")
echo "$size" | grep -q "width = 1600" || fail "the window's width was not kept: $size"

# The next start opens the window at the kept size; square: bars above and below.
start_game
geometry=$(xdotool getwindowgeometry "$WIN")
echo "$geometry" | grep -q "Geometry: 1600x900" || fail "not started at the kept size: $geometry"
xdotool windowsize "$WIN" 800 800 || fail "could not resize the window"
wait_for "the window at 800 by 800" geometry_is 800x800
wait_for "black bars above and below the square frame" bars_at square-title 400 50 400 760
frame_click 800 800 -0.14 -0.47
# The frame is 800 by 574 at y 113; the player views take its lower 156 rows.
wait_for "the round in the square frame" screen_changed square-title square-game 800x156+0+531 50
[ "$(pixel square-game 400 130)" != "0,0,0" ] || fail "the overview does not fill its place"
[ "$(pixel square-game 400 670)" != "0,0,0" ] || fail "the player views do not fill their place"

# F11: the whole screen, and back.
screen=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
press_key F11
wait_for "F11 to fill the $screen screen" geometry_is "$screen"
press_key F11
wait_for "F11 to bring the window back to 800 by 800" geometry_is 800x800
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "any window ok"
