# No dead ends over the network, on the loopback address: a guest started before its host keeps
# looking ("STILL LOOKING FOR ...") and gets in when the host comes up; START stays dimmed on the
# host until then; once the guest is gone in a round, the host says "THE OTHER PLAYER LEFT" and
# Return takes it back to the title, where Esc (no network screen any more) ends the game.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=3
PORT=7813
START_FACE=$(awk 'BEGIN { printf "%d %d", 512 - 1.6 * 1024 / 11.5, 367 + 0.47 * 735 / 8.3 }')

GAME_ARGS="--join 127.0.0.1:$PORT" start_game
GUEST_PID=$GAME_PID GUEST_WIN=$WIN
trap 'kill $GUEST_PID ${HOST_PID:-} 2>/dev/null; true' EXIT
xdotool windowmove "$GUEST_WIN" 1040 0
# Its first try finds nobody (3 s); it says so and goes on looking.
says_looking() {
    grep -q "no game at 127.0.0.1:$PORT yet; still looking" "$OUT/game.log"
}
wait_for "the guest to say it goes on looking for its host" says_looking
# It keeps looking a while; giving up would show here.
observe 3
kill -0 "$GUEST_PID" 2>/dev/null || fail "the guest gave up"

GAME_LOG=host.log GAME_ARGS="--host 127.0.0.1:$PORT" start_game
HOST_PID=$GAME_PID HOST_WIN=$WIN
wait_for "the guest to get in once its host was up (START no longer dimmed)" \
    screen_shows host-title $START_FACE 238 92 44 12

start_round
shot playing
kill "$GUEST_PID"
wait "$GUEST_PID" 2>/dev/null
# Five seconds without a word from the guest, and the host says it left.
wait_for "the host to say the other player left" banner_shown playing left
press_key Return
wait_for "Return to lead back to the title" screen_shows title-again $START_FACE 238 92 44 12
press_key Escape
expect_exit 0
trap - EXIT
rm -rf "$OUT"
echo "dead ends ok"
