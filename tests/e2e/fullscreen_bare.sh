# --fullscreen on a 1920 by 1080 display without a window manager: the whole picture shows (black
# bars at the sides, the overview above and both player views below, where they belong), and a
# one-off --fullscreen is not written into settings.ini. The test starts a display of its own
# (E2E_BARE_DISPLAY=:N picks its number; else the X server picks a free one).
. "$(dirname "$0")/lib/common.sh"
XVFB_PID=""
trap '[ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null; [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null; true' EXIT

if [ -n "${E2E_BARE_DISPLAY:-}" ]; then
    Xvfb "$E2E_BARE_DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    number=${E2E_BARE_DISPLAY#:}
else
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$OUT/display" >/dev/null 2>&1 &
    XVFB_PID=$!
    wait_for "the new display's number" test -s "$OUT/display"
    number=$(cat "$OUT/display")
fi
[ -n "$number" ] || fail "no display of 1920 by 1080"
export DISPLAY=":$number"
wait_for "the display of 1920 by 1080 to answer" display_answers

GAME_ARGS="--fullscreen" start_game
shot title
# Return on START, highlighted at start, begins the round.
press_key Return
wait_for "the round on the whole screen" screen_changed title round 1504x294+208+786 50
# The frame is 1504 by 1080 (1024:735), centred: bars of 208 pixels at each side. The player
# views take the bottom 294 rows, the overview the rest.
for p in "100 540" "1820 540" "5 5" "1914 1074"; do
    c=$(pixel round $p)
    [ "$c" = "0,0,0" ] || fail "no black bar at $p: $c"
done
for p in "960 390" "300 200" "1600 700" "400 1000" "1500 1000" "215 1075" "1705 790"; do
    c=$(pixel round $p)
    [ "$c" != "0,0,0" ] || fail "nothing drawn at $p: the picture does not cover the screen"
done
# The overview and the player views meet where they belong: the player views' sky lies just
# below the seam, not half way down the screen.
upper=$(count_pixels round 1504x40+208+746 "b > 0.6 && b > r")
lower=$(count_pixels round 1504x40+208+800 "b > 0.6 && b > r")
echo "blue sky pixels above the seam $upper, below it $lower"
[ "$lower" -gt 5000 ] || fail "no player views' sky below the seam ($lower)"
press_key Escape
expect_exit 0
grep -qx "fullscreen = no" "$XDG_CONFIG_HOME/tuvo/settings.ini" ||
    fail "a one-off --fullscreen was kept: $(cat "$XDG_CONFIG_HOME/tuvo/settings.ini")"
rm -rf "$OUT"
echo "full screen without a window manager ok"
