# Two windows, one round over the loopback address: the host alone shows START dimmed and says
# "PLAYER 2 IS NOT HERE YET" when it is pressed; then START in the host's window starts the
# round on both machines, and a key held in the guest's window (player 1's key set works there
# too) moves player 2 in the host's overview.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2
PORT=7811

GAME_ARGS="--host 127.0.0.1:$PORT" start_game
HOST_PID=$GAME_PID HOST_WIN=$WIN
# Alone, the host shows START dimmed, and pressing it (Return: START is highlighted) says why
# nothing starts, under the buttons, where the waiting line was.
START_FACE=$(awk 'BEGIN { printf "%d %d", 512 - 1.6 * 1024 / 11.5, 367 + 0.47 * 735 / 8.3 }')
shot waiting
c=$(pixel waiting $START_FACE)
colour_near "$c" 238 92 44 30 && fail "START not dimmed while the host waits for its guest: $c"
press_key Return
wait_for "START pressed while waiting to say why nothing starts" \
    screen_changed waiting not-here 1024x30+0+670 2
c=$(pixel not-here $START_FACE)
colour_near "$c" 238 92 44 30 && fail "a round started without player 2"
GAME_LOG=guest.log GAME_ARGS="--join 127.0.0.1:$PORT" start_game
GUEST_PID=$GAME_PID GUEST_WIN=$WIN
trap 'kill $HOST_PID $GUEST_PID 2>/dev/null; true' EXIT
# The guest's window beside the host's, clear of its overview.
xdotool windowmove "$GUEST_WIN" 1040 0

WIN=$HOST_WIN GAME_PID=$HOST_PID
wait_for "START lit in the host's window once both are here" \
    screen_shows both-here $START_FACE 238 92 44 12
start_round
# Player 2 starts in cell (14, 0); where the host's overview draws it.
set -- $("$ARENA_MAP" pixel 14.5 0.5 0.3)
P2_X=$1 P2_Y=$2
AROUND=60x50+$((P2_X - 30))+$((P2_Y - 25))
# Sheltered at home, player 2 blinks: the picture before is one with its blue figure in it.
p2_at_start() {
    shot before
    [ "$(count_pixels before "$AROUND" "b > 0.6 && r < 0.45")" -ge 100 ]
}
wait_for "player 2's figure at its start in the host's overview" p2_at_start
before=$(pixel before "$P2_X" "$P2_Y")

timeout 5 xdotool windowfocus --sync "$GUEST_WIN" 2>/dev/null || true
xdotool keydown r
sleep 1.2
xdotool keyup r
wait_for "player 2 to leave its start in the host's overview" screen_differs before after "$AROUND" 300
after=$(pixel after "$P2_X" "$P2_Y")
moved=$(changed_pixels before after "$AROUND")
echo "player 2's start cell in the host's overview: $before before, $after after ($moved pixels changed)"
[ "${moved:-0}" -ge 300 ] || fail "player 2 did not leave its start in the host's overview"
keep_screenshot after network-host

shot playing
WIN=$GUEST_WIN GAME_PID=$GUEST_PID
press_key Escape
expect_exit 0
WIN=$HOST_WIN GAME_PID=$HOST_PID
# With its guest gone Esc takes the host back to the title, where it ends the game.
wait_for "the host to say the other player left" banner_shown playing left
press_key Escape
wait_for "Esc to take the host back to the title" screen_shows title-again $START_FACE 238 92 44 12
press_key Escape
expect_exit 0
trap - EXIT
rm -rf "$OUT"
echo "network ok"
