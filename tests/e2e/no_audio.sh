# With no audio device at all the game starts, warns once that it runs silent, plays, and quits
# with code 0.
export SDL_AUDIODRIVER=nosuchdriver
. "$(dirname "$0")/lib/common.sh"
start_game
shot menu
start_round
# Both players walk a little and player 1 drops a bomb: the effects have nowhere to go. Its fuse
# ends 3.5 s later, within five more seconds on the clock.
hold_key Up 0.5
hold_key r 0.5
press_key Shift_L
wait_round_seconds 5
shot game
changed=$(changed_pixels menu game 1024x200+0+535)
[ "${changed:-0}" -gt 50000 ] || fail "the game did not start ($changed pixels changed)"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while playing silent"
press_key Escape
expect_exit 0
grep -q "slDSP: open" "$OUT/game.log" || fail "no warning about the missing audio device"
echo "no audio ok"
