# With no key held the creatures still roam: the overview changes between two screenshots a
# second apart, away from both players and from the heads-up display.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
# In this round creature 2 roams an area of 14 cells, the others 3 or 4 cells each.
export TUVO_SEED=8028
"$ARENA_MAP" creatures "$TUVO_SEED"

start_game
start_round
shot a
# A second or more of the round's time.
wait_round_seconds 2
shot b
# The arena's middle, from row 2 up: the players stand in rows 0 and 1, the clock is above.
set -- $("$ARENA_MAP" pixel 0 2 0) $("$ARENA_MAP" pixel 15 14 0)
left=$1 bottom=$2 right=$3 top=$4
moved=$(changed_pixels a b "$((right - left))x$((bottom - top))+$left+$top")
echo "$moved pixels changed in the arena's middle"
[ "${moved:-0}" -ge 150 ] || fail "nothing moved in the arena ($moved pixels changed)"
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "creatures ok"
