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

now() { date +%s.%N; }
since() { awk -v s="$1" -v n="$(now)" 'BEGIN { printf "%.2f", n - s }'; }

start_game 2
start_round 2
set -- $("$ARENA_MAP" pixel 0.5 2.5 0.3)
OBSTACLE_X=$1 OBSTACLE_Y=$2
shot before
before_orange=$(count_pixels before "$FIRE_AREA" "$ORANGE")

# Up column 0 until the obstacle stops player 1 flush in cell (0, 1); drop the bomb there.
hold_until_still r "$P1_VIEW"
timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
xdotool keydown Shift_L
dropped=$(now)
# A press between two ticks still reaches the next one.
sleep 0.2
xdotool keyup Shift_L
# Back to row 0 and right, out of the flame's way: its -y arm burns (0, 0), its +x arm stops at
# the pillar (1, 1).
hold_key f 1.0
hold_key g 0.8

echo "back in row 0 $(since "$dropped") s after the drop"
# The fire lasts 500 ms from about 3.5 s after the drop: screenshots until 5 s have passed, then
# the one with the most fire.
i=0
while awk -v t="$(since "$dropped")" 'BEGIN { exit !(t < 6.0) }'; do
    i=$((i + 1))
    # Uncompressed: a PNG of the whole screen takes too long to catch a 500 ms fire.
    import -window root "$OUT/fire-$i.bmp" || fail "screenshot fire-$i"
done
best=0
bestshot=""
for f in $(seq 1 $i); do
    # Only the overview around the bomb is counted; the whole picture is kept for the best one.
    convert "$OUT/fire-$f.bmp" -crop "$FIRE_AREA" +repage "$OUT/fire-area.png"
    n=$(convert "$OUT/fire-area.png" -fx "$ORANGE ? 1 : 0" -format "%[fx:int(mean*w*h+0.5)]" info:)
    echo "screenshot $f: $n orange pixels around the bomb"
    if [ "$n" -gt "$best" ]; then best=$n; bestshot=$f; fi
done
[ -n "$bestshot" ] && convert "$OUT/fire-$bestshot.bmp" "$OUT/fire.png"
rm -f "$OUT"/fire-*.bmp "$OUT/fire-area.png"
echo "orange pixels before $before_orange, at the blast $best ($i screenshots)"
[ "$best" -ge $((before_orange + 300)) ] || fail "no fire drawn where the bomb went off"
keep_screenshot fire bomb

sleep 1
shot after
# The obstacle's cell: the pixel over its centre showed the obstacle before and not after.
was=$(pixel before "$OBSTACLE_X" "$OBSTACLE_Y")
now_there=$(pixel after "$OBSTACLE_X" "$OBSTACLE_Y")
echo "obstacle cell centre: $was before, $now_there after"
gone=$(changed_pixels before after 30x24+$((OBSTACLE_X - 15))+$((OBSTACLE_Y - 12)))
[ "${gone:-0}" -ge 300 ] || fail "the obstacle in cell (0, 2) still stands ($gone pixels changed)"
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "bomb ok"
