# No dead ends over the network, on the loopback address: a guest started before its host keeps
# looking ("STILL LOOKING FOR ...") and gets in when the host comes up; START stays dimmed on the
# host until then; once the guest is gone in a round, the host says "THE OTHER PLAYER LEFT" and
# Return takes it back to the title, where Esc (no network screen any more) ends the game.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=3
PORT=7813
START_FACE=$(awk 'BEGIN { printf "%d %d", 512 - 1.6 * 1024 / 11.5, 367 + 0.47 * 735 / 8.3 }')

GAME_ARGS="--join 127.0.0.1:$PORT" start_game 2
GUEST_PID=$GAME_PID GUEST_WIN=$WIN
trap 'kill $GUEST_PID ${HOST_PID:-} 2>/dev/null; true' EXIT
xdotool windowmove "$GUEST_WIN" 1040 0
# Its first try finds nobody (3 s); it says so and goes on looking.
for i in $(seq 1 100); do
    grep -q "still looking" "$OUT/game.log" && break
    sleep 0.1
done
grep -q "no game at 127.0.0.1:$PORT yet; still looking" "$OUT/game.log" ||
    fail "the guest did not go on looking for its host"
kill -0 "$GUEST_PID" 2>/dev/null || fail "the guest gave up"
sleep 3

GAME_ARGS="--host 127.0.0.1:$PORT" start_game 2
HOST_PID=$GAME_PID HOST_WIN=$WIN
joined=0
for i in $(seq 1 40); do
    shot host-title
    c=$(pixel host-title $START_FACE)
    if colour_near "$c" 238 92 44 12; then
        joined=1
        break
    fi
    sleep 0.5
done
[ "$joined" = 1 ] || fail "the guest never got in once its host was up (START still dimmed: $c)"

menu_click -0.14 -0.47
sleep 2
shot playing
kill "$GUEST_PID"
wait "$GUEST_PID" 2>/dev/null
# Five seconds without a word from the guest, and the host says it left.
sleep 7
shot left
gone=$(changed_share playing left 424x80+300+180)
[ "$gone" -ge 3 ] || fail "no line over the round once the guest had gone ($gone% changed)"
press_key Return
sleep 1
shot title-again
c=$(pixel title-again $START_FACE)
colour_near "$c" 238 92 44 12 || fail "Return did not lead back to the title ($c at START)"
press_key Escape
expect_exit 0
trap - EXIT
rm -rf "$OUT"
echo "dead ends ok"
