# The title, OPTIONS and the pause menu with the keyboard alone, no mouse event at all: the
# highlight shows on START, Tab moves it to OPTIONS; there the music goes down to 0 and player 1's
# bomb onto B, both kept in settings.ini at once; Return starts a round whose music is silent
# while the blast of a bomb dropped with B is heard; P and END ROUND bring the title back.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$OUT/mix.raw"
RATE=8000
SETTINGS="$XDG_CONFIG_HOME/tuvo/settings.ini"

bytes() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
rms() {
    tail -c +$(($1 + 1)) "$SDL_DISKAUDIOFILE" | head -c "$2" >"$OUT/part.raw"
    sox -t raw -r $RATE -e unsigned -b 8 -c 1 "$OUT/part.raw" -n stats 2>&1 |
        awk '/^RMS lev dB/ { if ($4 == "-inf") print 0; else printf "%.4f", 10 ^ ($4 / 20) }'
}
# Window pixel of a point of the menu plane.
menu_pixel() {
    awk -v u="$1" -v v="$2" 'BEGIN { printf "%d %d", 512 + u * 1024 / 11.5, 367 - v * 735 / 8.3 }'
}
# The highlight's yellow just outside a button's left edge (menu units).
highlighted() {
    c=$(pixel "$1" $(menu_pixel "$2" "$3"))
    colour_near "$c" 255 219 25 40
}

start_game 3
shot title
highlighted title -2.06 -0.47 || fail "no highlight beside START at start"
# START, the opponent line, HELP, OPTIONS.
press_key Tab
press_key Tab
press_key Tab
sleep 0.5
shot options-highlighted
highlighted options-highlighted -1.57 -2.95 || fail "three Tabs did not highlight OPTIONS"
highlighted options-highlighted -2.06 -0.47 && fail "START still highlighted"

press_key Return
sleep 0.5
for i in $(seq 1 10); do press_key Left; done
# Down to PLAYER 1: BOMB (after the two volumes, full screen, shadows, render scale, steering help,
# always relay and the four ways to walk), then B.
for i in $(seq 1 11); do press_key Down; done
press_key Return
sleep 0.3
press_key b
sleep 0.5
shot options
keep_screenshot options options
grep -qx "music = 0" "$SETTINGS" || fail "music 0 not kept: $(cat "$SETTINGS")"
grep -qx "effects = 10" "$SETTINGS" || fail "effects volume changed"
awk '/^\[player1\]/ { p = 1 } /^\[player2\]/ { p = 0 } p && /^bomb = B$/ { found = 1 } END { exit !found }' \
    "$SETTINGS" || fail "player 1's bomb not kept as B: $(cat "$SETTINGS")"

press_key BackSpace
sleep 0.3
# From OPTIONS past PLAY ONLINE, round to START.
press_key Tab
press_key Tab
press_key Return
sleep 3
started=$(bytes)
shot round
changed=$(changed_share title round 1024x200+0+535)
[ "$changed" -ge 50 ] || fail "Return on START did not start the round ($changed% changed)"
music=$(rms "$started" $((2 * RATE)))
echo "music at volume 0: $music"
awk -v m="$music" 'BEGIN { exit !(m < 0.002) }' || fail "music heard at volume 0 (RMS $music)"

# B drops player 1's bomb (left Shift no longer does); its blast comes 3.5 s later.
dropped=$(bytes)
hold_key b 0.2
sleep 6.5
blast=0
for tenth in $(seq 30 2 44); do
    level=$(rms $((dropped + RATE * tenth / 10)) $((RATE * 11 / 10)))
    blast=$(awk -v a="$blast" -v b="$level" 'BEGIN { print (b > a ? b : a) }')
done
echo "blast at effects volume 10: $blast"
awk -v b="$blast" 'BEGIN { exit !(b > 0.02) }' || fail "no blast heard after B (RMS $blast)"

press_key p
sleep 0.5
shot paused
keep_screenshot paused pause-menu
press_key Down
press_key Down
press_key Return
sleep 1
shot title-again
changed=$(changed_share round title-again 1024x200+0+535)
[ "$changed" -ge 50 ] || fail "END ROUND did not bring the title back ($changed% changed)"
c=$(pixel title-again $(menu_pixel -1.6 -0.47))
colour_near "$c" 238 92 44 12 || fail "no START button after END ROUND: $c"
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "menus by keys ok"
