# What the game mixes, heard through SDL's disk driver (8000 Hz, unsigned 8-bit, mono, written in
# real time): silence while the title shows, music from the first game frame on, and a bomb's
# blast over the music when its fuse ends.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$OUT/mix.raw"
P1_VIEW=512x200+0+535

start_game
# A second of the mix while the title shows: nothing but the silence value 128.
wait_for "a second of the mix while the title shows" mix_holds $MIX_RATE
menu_bytes=$(mix_bytes)
noisy=$(head -c "$menu_bytes" "$SDL_DISKAUDIOFILE" | tr -d '\200' | wc -c)
echo "menu: $menu_bytes bytes written, $noisy of them not silence"
[ "$noisy" -eq 0 ] || fail "the title menu is not silent ($noisy bytes of sound)"

start_round
started=$(mix_bytes)
wait_for "the mix of the round's first seconds" mix_holds $((started + MIX_RATE * 5 / 2))
music=$(mix_rms $((started + MIX_RATE / 2)) $((2 * MIX_RATE)))
echo "music level after START: $music"
awk -v m="$music" 'BEGIN { exit !(m > 0.02) }' || fail "no music after START (RMS $music)"

hold_until_still r "$P1_VIEW"
timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
xdotool keydown Shift_L
dropped=$(mix_bytes)
# A press between two ticks still reaches the next one.
sleep 0.2
xdotool keyup Shift_L
wait_for_blast
# The fuse takes 3.5 s; the blast (1.1 s long) is mixed with the next frame and reaches the file
# a moment later. Over the music alone the level stays within about 15% from second to second;
# the blast adds about as much energy as the music has.
before=$(mix_rms $((dropped + MIX_RATE / 2)) $((MIX_RATE * 14 / 5)))
loudest_between $((dropped + MIX_RATE * 34 / 10)) "$BLAST_BY"
blast=$LOUDEST
echo "music alone $before, during the blast $blast"
awk -v a="$before" -v b="$blast" 'BEGIN { exit !(b > 1.3 * a) }' ||
    fail "no blast heard over the music ($blast against $before)"
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "sound ok"
