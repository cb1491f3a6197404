# A round recorded with --record plays back with --replay, in a window and without one, to the
# same end, as does the copy the game keeps of every round; a damaged recording is refused with its name and exit code 2, and nothing is written.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2
REC="$OUT/round.rec"

GAME_ARGS="--record $REC" start_game
start_round
# Player 1 walks up column 0 and lays a bomb; player 2 walks left.
hold_key r 0.8
press_key Shift_L
hold_key Left 0.6
press_key Escape
expect_exit 0
[ -s "$REC" ] || fail "no recording written"
[ -e "$REC.part" ] && fail "a partial recording was left behind"

# Without a window: the clock where the round was left, both players' points, exit code 0
# (the world came out as the recording saw it).
"$TUVO" --replay "$REC" --headless >"$OUT/headless.txt" 2>"$OUT/headless.err" ||
    fail "headless replay ended with $? ($(cat "$OUT/headless.err"))"
cat "$OUT/headless.txt"
grep -Eq '^left at TIME: 5:5[0-9]$' "$OUT/headless.txt" || fail "no clock line"
grep -q '^player 1: 0 points$' "$OUT/headless.txt" || fail "no points of player 1"
grep -q '^player 2: 0 points$' "$OUT/headless.txt" || fail "no points of player 2"

# The same round was kept in the player's data folder without being asked, and plays back from
# there to the same end.
KEPT=$(ls "$XDG_DATA_HOME"/tuvo/rounds/*.round 2>/dev/null | head -n 1)
[ -n "$KEPT" ] || fail "the round was not kept in $XDG_DATA_HOME/tuvo/rounds"
"$TUVO" --replay "$KEPT" --headless >"$OUT/kept.txt" 2>"$OUT/kept.err" ||
    fail "the kept round did not replay ($(cat "$OUT/kept.err"))"
cmp -s "$OUT/headless.txt" "$OUT/kept.txt" || fail "the kept round ended otherwise than --record's"

# In a window the round plays at once, without the title menu: the player views fill the
# bottom of the window where the title picture would be.
GAME_ARGS="" start_game
shot title
press_key Escape
expect_exit 0
round_shown() {
    shot replayed
    [ "$(changed_pixels title replayed "$VIEWS_STRIP")" -gt 50000 ]
}
GAME_ARGS="--replay $REC" start_game
wait_for "the replayed round in place of the title picture" round_shown
press_key Escape
expect_exit 0

# Damaged: cut short, or not a recording at all; or made by the game before its rules changed.
head -c 40 "$REC" >"$OUT/cut.rec"
printf 'hello, this is not a replay of anything' >"$OUT/text.rec"
cp "$(dirname "$0")/../record/data/format1-seed2026.rec" "$OUT/old.rec"
: >"$OUT/bad.out"
: >"$OUT/bad.err"
for bad in cut text missing old; do
    before=$(ls "$OUT" | wc -l)
    code=0
    "$TUVO" --replay "$OUT/$bad.rec" --headless >"$OUT/bad.out" 2>"$OUT/bad.err" || code=$?
    echo "$bad: exit $code: $(cat "$OUT/bad.err")"
    [ "$code" -eq 2 ] || fail "$bad recording: exit code $code, not 2"
    grep -q "$OUT/$bad.rec" "$OUT/bad.err" || fail "$bad recording: the message does not name it"
    [ -s "$OUT/bad.out" ] && fail "$bad recording: a result was printed"
    [ "$(ls "$OUT" | wc -l)" -eq "$before" ] || fail "$bad recording: a file was written"
done
"$TUVO" --replay "$OUT/cut.rec" --headless 2>&1 | grep -q "truncated" || fail "cut file not called truncated"
"$TUVO" --replay "$OUT/old.rec" --headless 2>&1 | grep -q "replay format 1," ||
    fail "the old recording's version is not named"
# A recording of an older game (format 2, before a player sent home had its grace from the
# creatures) is refused with its version named.
cp "$REC" "$OUT/old.rec"
printf '\002' | dd of="$OUT/old.rec" bs=1 seek=8 conv=notrunc 2>/dev/null
code=0
"$TUVO" --replay "$OUT/old.rec" --headless >"$OUT/bad.out" 2>"$OUT/bad.err" || code=$?
echo "old: exit $code: $(cat "$OUT/bad.err")"
[ "$code" -eq 2 ] || fail "old recording: exit code $code, not 2"
grep -q "replay format 2" "$OUT/bad.err" || fail "old recording: the message does not name its version"
rm -rf "$OUT"
echo "replay ok"
