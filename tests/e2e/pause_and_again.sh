# P pauses the round (the clock stands) and goes on with it; once the result shows, Space starts
# a new round whose clock and counts are those of a fresh start.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2
CLOCK=130x26+450+12
COLUMNS=110x110+20+12

# The highlighted line of the pause menu (CONTINUE) and of the panel after the result (PLAY
# AGAIN), in the button's orange.
PAUSE_LINE="420 242"
NEXT_LINE="420 462"

# A fresh start's clock and counts: a recording of no ticks shows the round before its first.
GAME_ARGS="--replay $(dirname "$0")/../fuzz/replay_corpus/empty.rec" start_game
shot_region fresh-clock "$CLOCK"
shot_region fresh-columns "$COLUMNS"
press_key Escape
expect_exit 0

# A round twenty seconds from its end: time enough to pause it however slowly the machine draws.
export TUVO_START_AT=340
start_game
start_round
press_key p
wait_for "P to pause the round" screen_shows paused $PAUSE_LINE 238 92 44 12
shot_region paused-a "$CLOCK"
observe 2
shot_region paused-b "$CLOCK"
n=$(changed_pixels_of paused-a paused-b)
[ "$n" -eq 0 ] || fail "the clock moved while paused ($n pixels changed)"
press_key p
clock_runs() {
    shot_region running "$CLOCK"
    [ "$(changed_pixels_of paused-b running)" -gt 20 ]
}
wait_for "the clock to run again after P was pressed again" clock_runs
# The result at 0:00, with the panel that offers the next round.
wait_for "the result at the round's end" screen_shows result $NEXT_LINE 238 92 44 12
# Space and P at once: the new round, paused before its first tick.
timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
xdotool key space p
wait_for "the new round, paused" screen_shows paused-again $PAUSE_LINE 238 92 44 12
shot_region again-clock "$CLOCK"
shot_region again-columns "$COLUMNS"
n=$(changed_pixels_of fresh-clock paused-a)
[ "$n" -gt 20 ] || fail "the clock near the end looks like a fresh start's ($n pixels differ)"
n=$(changed_pixels_of fresh-clock again-clock)
[ "$n" -eq 0 ] || fail "the new round's clock is not a fresh start's ($n pixels differ)"
n=$(changed_pixels_of fresh-columns again-columns)
[ "$n" -eq 0 ] || fail "the new round's counts are not a fresh start's ($n pixels differ)"
# Esc on the pause menu goes back to the round; in the round it ends the game.
press_key Escape
clock_runs_again() {
    shot_region again-running "$CLOCK"
    [ "$(changed_pixels_of again-clock again-running)" -gt 20 ]
}
wait_for "Esc to take the pause menu away" clock_runs_again
press_key Escape
expect_exit 0
keep_screenshot paused paused
echo "pause and play again ok"
