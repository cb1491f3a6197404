# A computer player: with --computer normal, player 2 walks off by itself once START is clicked
# while nobody touches a key, and never stands in a burning cell; the recording of the round
# holds its keys and plays back to the same world. Then the title's opponent line, clicked,
# starts a round against the computer and is kept in the settings.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=8028
BOT_WATCH="${BOT_WATCH:-$BUILD_DIR/tests/bot_watch}"
P2_VIEW=512x200+512+535
# Player 2's home corner of the overview.
P2_HOME=$("$ARENA_MAP" pixel 14 0 0 | awk '{ printf "90x70+%d+%d", $1 - 45, $2 - 50 }')

# watch FILE: the round recorded in FILE, as bot_watch sees player 2 in it.
watch() {
    "$BOT_WATCH" "$1" 2 || fail "the recording $1 could not be read back"
}
check_round() {
    set -- $(watch "$1")
    echo "player 2: $2 ticks, $4 cells from home at the farthest, $6 ticks in fire, replay $8"
    [ "$2" -ge 600 ] || fail "the round ran only $2 ticks"
    awk -v f="$4" 'BEGIN { exit !(f >= 3) }' || fail "player 2 got only $4 cells from home"
    [ "$6" -eq 0 ] || fail "player 2 stood in a burning cell on $6 ticks"
    [ "$8" = same ] || fail "the recorded round played back differently"
}

GAME_ARGS="--computer normal --record $OUT/computer.rec" start_game
start_round
shot first
# Ten seconds or more of the round.
wait_round_seconds 12
shot later
moved=$(changed_share first later "$P2_VIEW")
home=$(changed_pixels first later "$P2_HOME")
echo "player 2's view changed $moved%, its home corner $home pixels"
[ "$moved" -ge 20 ] || fail "player 2's view barely changed ($moved%) with no key pressed"
[ "${home:-0}" -ge 150 ] || fail "player 2's figure did not leave its corner ($home pixels)"
press_key Escape
expect_exit 0
check_round "$OUT/computer.rec"

# On the title, without --computer: two clicks on the line under START step it to COMPUTER
# NORMAL.
GAME_ARGS="--record $OUT/title.rec" start_game
OPPONENT_LINE=340x40+342+450
shot title-human
# The game takes one click a frame: the second waits for the first to show.
menu_click 1.0 -1.16
wait_for "a click to step the opponent line" screen_differs title-human title-easy "$OPPONENT_LINE" 40
menu_click 1.0 -1.16
wait_for "a second click to step the opponent line" screen_differs title-easy title-normal \
    "$OPPONENT_LINE" 40
line=$(changed_pixels title-human title-normal "$OPPONENT_LINE")
echo "the opponent line changed $line pixels"
[ "${line:-0}" -ge 40 ] || fail "clicking the opponent line changed nothing ($line pixels)"
start_round
wait_round_seconds 12
press_key Escape
expect_exit 0
check_round "$OUT/title.rec"
grep -q '^player2 = normal$' "$XDG_CONFIG_HOME/tuvo/settings.ini" ||
    fail "the settings do not keep the computer opponent: $(cat "$XDG_CONFIG_HOME/tuvo/settings.ini")"
rm -rf "$OUT"
echo "computer ok"
