# P pauses the round (the clock stands) and goes on with it; once the result shows, Space starts
# a new round whose clock and counts are those of a fresh start.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2
CLOCK=130x26+450+12
COLUMNS=110x110+20+12

# A fresh start's clock and counts: a recording of no ticks shows the round before its first.
GAME_ARGS="--replay $(dirname "$0")/../fuzz/replay_corpus/empty.rec" start_game 2
shot_region fresh-clock "$CLOCK"
shot_region fresh-columns "$COLUMNS"
press_key Escape
expect_exit 0

# A round five seconds from its end.
export TUVO_START_AT=354
start_game 2
start_round 1
press_key p
sleep 0.5
shot_region paused-a "$CLOCK"
sleep 2
shot_region paused-b "$CLOCK"
n=$(changed_pixels_of paused-a paused-b)
[ "$n" -eq 0 ] || fail "the clock moved while paused ($n pixels changed)"
shot paused
press_key p
sleep 1.5
shot_region running "$CLOCK"
n=$(changed_pixels_of paused-b running)
[ "$n" -gt 20 ] || fail "the clock stood after P was pressed again ($n pixels changed)"
# The result at 0:00.
sleep 5
shot result
# Space and P at once: the new round, paused before its first tick.
timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
xdotool key space p
sleep 0.5
shot_region again-clock "$CLOCK"
shot_region again-columns "$COLUMNS"
n=$(changed_pixels_of fresh-clock paused-a)
[ "$n" -gt 20 ] || fail "the clock at 0:05 looks like a fresh start's ($n pixels differ)"
n=$(changed_pixels_of fresh-clock again-clock)
[ "$n" -eq 0 ] || fail "the new round's clock is not a fresh start's ($n pixels differ)"
n=$(changed_pixels_of fresh-columns again-columns)
[ "$n" -eq 0 ] || fail "the new round's counts are not a fresh start's ($n pixels differ)"
# Esc on the pause menu goes back to the round; in the round it ends the game.
press_key Escape
sleep 0.3
press_key Escape
expect_exit 0
keep_screenshot paused paused
echo "pause and play again ok"
