# At any window size the frame keeps its proportions, centred with black bars, and a click on
# START where it shows starts the round; F11 puts the game on the whole screen and back, and the
# window's size and place on the screen are kept for the next start.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2

# Wide: bars left and right. The frame is 1254 by 900 at x 173.
start_game 2
xdotool windowsize "$WIN" 1600 900 || fail "could not resize the window"
sleep 1.5
shot wide-title
[ "$(pixel wide-title 80 450)" = "0,0,0" ] || fail "no bar left of the wide frame"
[ "$(pixel wide-title 1520 450)" = "0,0,0" ] || fail "no bar right of the wide frame"
[ "$(pixel wide-title 800 40)" != "0,0,0" ] || fail "the title picture does not fill its place"
frame_click 1600 900 -0.14 -0.47
sleep 3
shot wide-game
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
start_game 2
geometry=$(xdotool getwindowgeometry "$WIN")
echo "$geometry" | grep -q "Geometry: 1600x900" || fail "not started at the kept size: $geometry"
xdotool windowsize "$WIN" 800 800 || fail "could not resize the window"
sleep 1.5
shot square-title
[ "$(pixel square-title 400 50)" = "0,0,0" ] || fail "no bar above the frame"
[ "$(pixel square-title 400 760)" = "0,0,0" ] || fail "no bar below the frame"
frame_click 800 800 -0.14 -0.47
sleep 3
shot square-game
[ "$(pixel square-game 400 130)" != "0,0,0" ] || fail "the overview does not fill its place"
[ "$(pixel square-game 400 670)" != "0,0,0" ] || fail "the player views do not fill their place"

# F11: the whole screen, and back.
press_key F11
sleep 1.5
geometry=$(xdotool getwindowgeometry "$WIN")
screen=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
echo "$geometry" | grep -q "Geometry: $screen" || fail "F11 did not fill the $screen screen: $geometry"
press_key F11
sleep 1.5
geometry=$(xdotool getwindowgeometry "$WIN")
echo "$geometry" | grep -q "Geometry: 800x800" || fail "F11 did not bring the window back: $geometry"
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "any window ok"
