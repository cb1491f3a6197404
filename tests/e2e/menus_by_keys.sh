# The title, OPTIONS and the pause menu with the keyboard alone, no mouse event at all: the
# highlight shows on START, Tab moves it on to OPTIONS; there the music goes down to 0 and player 1's
# bomb onto B, both kept in settings.ini at once; Return starts a round whose music is silent
# while the blast of a bomb dropped with B is heard; P and END ROUND bring the title back; the
# arrows reach PLAY ONLINE, and Esc there goes back to the title.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$OUT/mix.raw"
SETTINGS="$XDG_CONFIG_HOME/tuvo/settings.ini"

# Window pixel of a point of the menu plane.
menu_pixel() {
    awk -v u="$1" -v v="$2" 'BEGIN { printf "%d %d", 512 + u * 1024 / 11.5, 367 - v * 735 / 8.3 }'
}
# The highlight's yellow just outside a button's left edge (menu units).
highlighted() {
    c=$(pixel "$1" $(menu_pixel "$2" "$3"))
    colour_near "$c" 255 219 25 40
}

# shows_highlight NAME U V: takes screenshot NAME, in which the highlight shows beside (U, V).
shows_highlight() {
    shot "$1"
    highlighted "$@"
}
# Succeeds once the settings file holds the line.
settings_say() {
    grep -qx "$1" "$SETTINGS" 2>/dev/null
}
bomb_on_b() {
    awk '/^\[player1\]/ { p = 1 } /^\[player2\]/ { p = 0 } p && /^bomb = B$/ { found = 1 } END { exit !found }' \
        "$SETTINGS" 2>/dev/null
}
START_FACE=$(menu_pixel -1.6 -0.47)

start_game
wait_for "the highlight beside START at start" shows_highlight title -2.06 -0.47
# START, the opponent line, HELP, PLAY ONLINE, OPTIONS: Tab goes in reading order.
press_key Tab
press_key Tab
press_key Tab
press_key Tab
wait_for "four Tabs to highlight OPTIONS" shows_highlight options-highlighted -1.57 -2.95
highlighted options-highlighted -2.06 -0.47 && fail "START still highlighted"

press_key Return
wait_for "OPTIONS to open" screen_changed options-highlighted options-open 1024x735+0+0 20
for i in $(seq 1 10); do press_key Left; done
# Down to PLAYER 1: BOMB (after the two volumes, full screen, shadows, render scale,
# steering help, always relay and the four ways to walk), then B once the line waits for a key.
for i in $(seq 1 11); do press_key Down; done
wait_for "the music at 0 in the settings" settings_say "music = 0"
wait_for "the highlight on PLAYER 1: BOMB" screen_shows bomb-line 250 396 238 92 44 12
press_key Return
# The line under the list asks for the key in red.
asks_for_key() {
    shot capturing
    [ "$(count_pixels capturing 500x30+262+694 "r > 0.6 && g < 0.35 && b < 0.35")" -ge 300 ]
}
wait_for "OPTIONS to ask for player 1's bomb key" asks_for_key
press_key b
wait_for "player 1's bomb kept as B in the settings" bomb_on_b
wait_for "the bomb's line to show B" screen_differs capturing options 1024x735+0+0 300
keep_screenshot options options
grep -qx "effects = 10" "$SETTINGS" || fail "effects volume changed"

press_key BackSpace
wait_for "the title again after OPTIONS" screen_shows title-back $START_FACE 238 92 44 12
# OPTIONS is the last button: Tab goes round to START.
press_key Tab
press_key Return
changed_from_title() {
    shot round
    [ "$(changed_share title round "$VIEWS_STRIP")" -ge 50 ]
}
wait_for "Return on START to start the round" changed_from_title
started=$(mix_bytes)
wait_for "two seconds of the round's mix" mix_holds $((started + 2 * MIX_RATE))
music=$(mix_rms "$started" $((2 * MIX_RATE)))
echo "music at volume 0: $music"
awk -v m="$music" 'BEGIN { exit !(m < 0.002) }' || fail "music heard at volume 0 (RMS $music)"

# B drops player 1's bomb (left Shift no longer does); its blast comes 3.5 s later.
dropped=$(mix_bytes)
hold_key b 0.2
wait_for_blast
loudest_between $((dropped + MIX_RATE * 3)) "$BLAST_BY"
blast=$LOUDEST
echo "blast at effects volume 10: $blast"
awk -v b="$blast" 'BEGIN { exit !(b > 0.02) }' || fail "no blast heard after B (RMS $blast)"

press_key p
wait_for "P to show the pause menu" screen_differs round paused 1024x735+0+0 2000
keep_screenshot paused pause-menu
press_key Down
press_key Down
press_key Return
wait_for "END ROUND to bring the title back" screen_shows title-again $START_FACE 238 92 44 12
changed=$(changed_share round title-again "$VIEWS_STRIP")
[ "$changed" -ge 50 ] || fail "END ROUND did not bring the title back ($changed% changed)"

# The arrows follow the buttons: down past the opponent line to HELP, right to PLAY ONLINE beside
# it. There Esc goes back to the title, as in every screen the game added; the game goes on.
press_key Down
press_key Down
press_key Right
wait_for "Down, Down, Right to highlight PLAY ONLINE" shows_highlight online-highlighted 0.87 -1.85
press_key Return
wait_for "PLAY ONLINE to open" screen_changed online-highlighted online-open 400x200+312+220 20
press_key Escape
wait_for "Esc to bring the title back from PLAY ONLINE" shows_highlight online-left 0.87 -1.85
kill -0 "$GAME_PID" 2>/dev/null || fail "Esc in PLAY ONLINE ended the game"
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "menus by keys ok"
