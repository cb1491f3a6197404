# Player 1 walks from its start through a house door into the labyrinth: its view turns dark but
# for the narrow lamp's circle, in which the hedges and the white floor show; a small map in the
# view's corner shows the cells it has seen, and the overview marks it over the house.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
# In this round a short route leads to a door, and every creature is shut in by obstacles away
# from it. Each leg ends pressed flush against a pillar, an obstacle or the house.
export TUVO_SEED=8028
P1_VIEW=512x200+0+535
# The route is worked out for the plain step: with steering help a press beside a lane would
# slide into it instead of ending its leg against the pillar.
mkdir -p "$XDG_CONFIG_HOME/tuvo"
printf '[play]\nsteering_help = no\n' >"$XDG_CONFIG_HOME/tuvo/settings.ini"
ROUTE=$("$ARENA_MAP" route "$TUVO_SEED")
[ -n "$ROUTE" ] || fail "no route into the house in round $TUVO_SEED"
echo "route:" $ROUTE

DARK="(r + g + b) / 3 < 0.08"
# In the lamp's circle: the white floor, or a hedge in full light (the figure's red excluded).
LIT="g > 0.45 && g >= r && (r + g + b) / 3 > 0.3"
HEDGE="g > 0.2 && g > r * 1.2 && g > b * 1.2"

# Percent of player 1's view matching a condition.
view_share() {
    n=$(count_pixels "$1" "$P1_VIEW" "$2")
    echo $((n * 100 / (512 * 200)))
}

view_dark() {
    shot_region inside "$P1_VIEW"
    dark=$(count_pixels inside 512x200+0+0 "$DARK")
    [ $((dark * 100 / 102400)) -ge 50 ]
}

walk_in() {
    start_game
    start_round
    legs=$(echo "$ROUTE" | wc -l)
    leg=0
    while read -r key cells; do
        leg=$((leg + 1))
        if [ "$leg" -lt "$legs" ]; then
            HOLD_MAY_FAIL=1 hold_until_still "$key" "$P1_VIEW" || return 1
        fi
    done <<<"$ROUTE"
    # The last leg ends in the door: hold the key until the view goes dark.
    set -- $(echo "$ROUTE" | tail -n 1)
    xdotool keydown "$1"
    local deadline=$(($(date +%s) + WAIT_LIMIT))
    until view_dark; do
        [ "$(date +%s)" -lt "$deadline" ] || break
        sleep 0.2
    done
    xdotool keyup "$1"
    shot labyrinth
    [ "$(view_share labyrinth "$DARK")" -ge 50 ]
}

if ! walk_in; then
    echo "not in the labyrinth at the first try (a creature may have sent player 1 home, or a leg"
    echo "never came to rest): again"
    press_key Escape
    expect_exit 0
    walk_in || fail "player 1's view did not turn dark: not in the labyrinth"
fi
dark=$(view_share labyrinth "$DARK")
lit=$(view_share labyrinth "$LIT")
hedge=$(view_share labyrinth "$HEDGE")
echo "player 1's view: $dark% dark, $lit% in the lamp's light, $hedge% hedge"
# The lamp lights by the corners of what it meets (lighting is worked out per vertex), so how much
# of its 10-degree cone shows depends on where the player stands: never more than a small part.
[ "$lit" -le 30 ] || fail "too much of the view is lit for a narrow lamp ($lit%)"
[ "$hedge" -ge 1 ] || fail "no hedge in the lamp's light ($hedge%)"
# The map's seen cells, pale in its dark square at the view's right (172 pixels a side, 6 in).
MAP_CELL="r > 0.75 && g > 0.72 && b > 0.55 && b < 0.8 && r > b * 1.1"
cells=$(count_pixels labyrinth 172x172+334+541 "$MAP_CELL")
echo "map: $cells pixels of seen cells"
[ "$cells" -ge 160 ] || fail "no seen cell on player 1's labyrinth map ($cells pixels)"
[ "$cells" -le 16000 ] || fail "the map shows more than a few cells at the door ($cells pixels)"
# The marker in player 1's colour floating over the house in the overview.
set -- $("$ARENA_MAP" pixel 7.5 9.5 2.2)
MARKER_RED="r > 0.6 && g < 0.45 && b < 0.5"
marker=$(count_pixels labyrinth "60x70+$(($1 - 30))+$(($2 - 35))" "$MARKER_RED")
echo "marker: $marker pixels of player 1's red over the house"
[ "$marker" -ge 40 ] || fail "no marker of player 1 over the house ($marker pixels)"
keep_screenshot labyrinth labyrinth
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "labyrinth ok"
