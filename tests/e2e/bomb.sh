# A bomb dropped in front of an obstacle goes off 3.5 s later: fire burns in the cells its flame
# reaches, and the obstacle is gone from the overview afterwards.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
# In this round cell (0, 2) holds an obstacle and no creature can reach player 1's corner.
export TUVO_SEED=2
P1_VIEW=512x200+0+535
# The overview around cells (0, 0) to (1, 2), where the fire burns.
FIRE_AREA=170x190+0+300
# Orange to yellow-white: strong red, less green, little blue (the glow is drawn additively).
ORANGE="r > 0.9 && g > 0.35 && g < 0.85 && b < 0.45"

start_game
start_round
set -- $("$ARENA_MAP" pixel 0.5 2.5 0.3)
OBSTACLE_X=$1 OBSTACLE_Y=$2
OBSTACLE_CELL=30x24+$((OBSTACLE_X - 15))+$((OBSTACLE_Y - 12))
shot before
before_orange=$(count_pixels before "$FIRE_AREA" "$ORANGE")

# Up column 0 until the obstacle stops player 1 flush in cell (0, 1); drop the bomb there.
hold_until_still r "$P1_VIEW"
timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
xdotool keydown Shift_L
# A press between two ticks still reaches the next one.
sleep 0.2
xdotool keyup Shift_L
# Back to row 0 and right, out of the flame's way: its -y arm burns (0, 0), its +x arm stops at
# the pillar (1, 1).
hold_key f 1.0
hold_key g 0.8

# The fire lasts 500 ms of the round from about 3.5 s after the drop: the overview's corner is
# shot over and over from now until a second of the round after the obstacle's cell has changed;
# then the shot with the most fire is kept.
start_burst 560x490+0+0
obstacle_cell_changed() {
    shot_region cell-now "$OBSTACLE_CELL"
    convert "$OUT/before.png" -crop "$OBSTACLE_CELL" +repage "$OUT/cell-before.png"
    [ "$(changed_pixels_of cell-before cell-now)" -ge 300 ]
}
wait_for "the bomb to go off at the obstacle in cell (0, 2)" obstacle_cell_changed
wait_round_seconds 2
stop_burst

best=0
bestshot=""
i=0
for f in "$OUT"/burst-*.bmp; do
    i=$((i + 1))
    # Only the overview around the bomb is counted; the whole picture is kept for the best one.
    n=$(convert "$f" -crop "$FIRE_AREA" +repage -fx "$ORANGE ? 1 : 0" -format "%[fx:int(mean*w*h+0.5)]" info:)
    if [ "$n" -gt "$best" ]; then best=$n; bestshot=$f; fi
done
[ -n "$bestshot" ] && convert "$bestshot" "$OUT/fire.png"
rm -f "$OUT"/burst-*.bmp
echo "orange pixels before $before_orange, at the blast $best ($i screenshots)"
[ "$best" -ge $((before_orange + 300)) ] || fail "no fire drawn where the bomb went off"
keep_screenshot fire bomb

# Once the fire is out, the obstacle's cell: the pixel over its centre showed the obstacle before
# and not after.
shot after
was=$(pixel before "$OBSTACLE_X" "$OBSTACLE_Y")
now_there=$(pixel after "$OBSTACLE_X" "$OBSTACLE_Y")
echo "obstacle cell centre: $was before, $now_there after"
gone=$(changed_pixels before after "$OBSTACLE_CELL")
[ "${gone:-0}" -ge 300 ] || fail "the obstacle in cell (0, 2) still stands ($gone pixels changed)"
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "bomb ok"
