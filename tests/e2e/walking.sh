# Holding a player's direction key walks that player: its own view and its figure in the overview
# change while the other player's view stays put; the round clock ticks on screen.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
# In this round column 0 is free up to an obstacle in cell (0, 3), so player 1 walks two cells.
export TUVO_SEED=8028
P1_VIEW=512x200+0+535
P2_VIEW=512x200+512+535

# The overview's picture of the cells x0..x1, y0..y1 (from the ground to 1 high), as WxH+X+Y.
overview_box() {
    set -- $("$ARENA_MAP" pixel "$1" "$2" 0) $("$ARENA_MAP" pixel "$3" "$2" 0) \
        $("$ARENA_MAP" pixel "$1" "$4" 1) $("$ARENA_MAP" pixel "$3" "$4" 1)
    echo "$@" | awk '{ l = $1; r = $1; t = $2; b = $2
        for (i = 1; i <= 7; i += 2) { if ($i < l) l = $i; if ($i > r) r = $i }
        for (i = 2; i <= 8; i += 2) { if ($i < t) t = $i; if ($i > b) b = $i }
        l -= 10; t -= 10; if (l < 0) l = 0; if (t < 0) t = 0
        printf "%dx%d+%d+%d", r - l + 20, b - t + 20, l, t }'
}

# AUTO may step the render scale between two pictures, which softens player 2's view as a whole
# though nobody moved it: here the views keep one size.
mkdir -p "$XDG_CONFIG_HOME/tuvo"
printf '[window]\nrender_scale = 100\n' >"$XDG_CONFIG_HOME/tuvo/settings.ini"
start_game
start_round
shot first-frame
keep_screenshot first-frame first-frame

COLUMN_0=$(overview_box 0 0 1 3)
# Player 1 has walked once its view and its column of the overview show it.
walked_r() {
    screen_changed first-frame after-r "$P1_VIEW" 20 &&
        [ "$(changed_pixels first-frame after-r "$COLUMN_0")" -ge 200 ]
}
hold_key r 1.5
wait_for "player 1 to have walked on R" walked_r
p1=$(changed_share first-frame after-r "$P1_VIEW")
p2=$(changed_share first-frame after-r "$P2_VIEW")
path=$(changed_pixels first-frame after-r "$COLUMN_0")
echo "R: player 1 view $p1%, player 2 view $p2%, overview along column 0: $path pixels"
[ "$p1" -ge 20 ] || fail "player 1's view barely changed ($p1%) while R was held"
[ "$p2" -le 10 ] || fail "player 2's view changed ($p2%) while only player 1 walked"
[ "${path:-0}" -ge 200 ] || fail "player 1's figure did not move in the overview ($path pixels)"

COLUMN_14=$(overview_box 14 0 15 3)
walked_up() {
    screen_changed after-r after-up "$P2_VIEW" 20 &&
        [ "$(changed_pixels after-r after-up "$COLUMN_14")" -ge 200 ]
}
hold_key Up 1.5
wait_for "player 2 to have walked on Up" walked_up
p2=$(changed_share after-r after-up "$P2_VIEW")
path=$(changed_pixels after-r after-up "$COLUMN_14")
echo "Up: player 2 view $p2%, overview along column 14: $path pixels"
[ "$p2" -ge 20 ] || fail "player 2's view barely changed ($p2%) while Up was held"
[ "${path:-0}" -ge 200 ] || fail "player 2's figure did not move in the overview ($path pixels)"

# The clock shows another second.
shot_region clock-a "$CLOCK_REGION"
wait_for "the round's clock to move on" region_changed clock-a clock-b "$CLOCK_REGION" 1

press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "walking ok"
