# The window: its title, its client area, and Esc ending the program with code 0.
. "$(dirname "$0")/lib/common.sh"
start_game
geometry=$(xdotool getwindowgeometry "$WIN") || fail "no geometry"
echo "$geometry" | grep -q "Geometry: 1024x735" || fail "client area is not 1024x735: $geometry"
echo "$geometry" | grep -q "Position: 0,0" || fail "window not at (0, 0): $geometry"
press_key Escape
expect_exit 0
echo "window ok"
