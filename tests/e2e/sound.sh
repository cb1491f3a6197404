# What the game mixes, heard through SDL's disk driver (8000 Hz, unsigned 8-bit, mono, written in
# real time): silence while the title shows, music from the first game frame on, and a bomb's
# blast over the music when its fuse ends.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
export TUVO_SEED=2
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$OUT/mix.raw"
RATE=8000
P1_VIEW=512x200+0+535

bytes() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }

# RMS amplitude (0..1) of LENGTH bytes of the mix from byte FROM on.
rms() {
    tail -c +$(($1 + 1)) "$SDL_DISKAUDIOFILE" | head -c "$2" >"$OUT/part.raw"
    sox -t raw -r $RATE -e unsigned -b 8 -c 1 "$OUT/part.raw" -n stats 2>&1 |
        awk '/^RMS lev dB/ { if ($4 == "-inf") print 0; else printf "%.4f", 10 ^ ($4 / 20) }'
}

start_game 3
menu_bytes=$(bytes)
# Nothing but the silence value 128 while the title is shown.
noisy=$(head -c "$menu_bytes" "$SDL_DISKAUDIOFILE" | tr -d '\200' | wc -c)
echo "menu: $menu_bytes bytes written, $noisy of them not silence"
[ "$noisy" -eq 0 ] || fail "the title menu is not silent ($noisy bytes of sound)"

start_round 3
started=$menu_bytes
music=$(rms $((started + RATE / 2)) $((2 * RATE)))
echo "music level after START: $music"
awk -v m="$music" 'BEGIN { exit !(m > 0.02) }' || fail "no music after START (RMS $music)"

hold_until_still r "$P1_VIEW" 30
timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
xdotool keydown Shift_L
dropped=$(bytes)
# A press between two ticks still reaches the next one.
sleep 0.2
xdotool keyup Shift_L
sleep 6
# The fuse takes 3.5 s; the blast (1.1 s long) is mixed with the next frame and reaches the file
# a moment later. Over the music alone the level stays within about 15% from second to second;
# the blast adds about as much energy as the music has.
before=$(rms $((dropped + RATE / 2)) $((RATE * 14 / 5)))
# The drop and the blast each wait for a frame: the loudest 1.1 s from 3.4 s to 5.2 s on.
blast=0
for tenth in $(seq 34 2 41); do
    level=$(rms $((dropped + RATE * tenth / 10)) $((RATE * 11 / 10)))
    blast=$(awk -v a="$blast" -v b="$level" 'BEGIN { print (b > a ? b : a) }')
done
echo "music alone $before, during the blast $blast"
awk -v a="$before" -v b="$blast" 'BEGIN { exit !(b > 1.3 * a) }' ||
    fail "no blast heard over the music ($blast against $before)"
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "sound ok"
