# What the players are told: the inventory columns headed "PLAYER 1" and "PLAYER 2" (read back by
# OCR), a creature's catch flashing player 1's view with its word, and after 0:00 the result with
# each player's round in numbers.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit
command -v tesseract >/dev/null || fail "tesseract (Debian's tesseract-ocr) reads the texts back"
P1_VIEW=512x200+0+535

# The letters of a region of a screenshot as tesseract reads them: the pixels of the letters'
# colour (an fx condition on r, g, b) black on white, enlarged. read_text SHOT REGION COLOUR [PSM]
read_text() {
    convert "$OUT/$1.png" -crop "$2" +repage -fx "($3) ? 0 : 1" -resize 400% "$OUT/ocr-$1.png"
    tesseract "$OUT/ocr-$1.png" - --psm "${4:-7}" 2>/dev/null | tr -s ' \n' '  '
}
RED_LETTERS="r > 0.6 && g < 0.45 && b < 0.5"
BLUE_LETTERS="b > 0.6 && r < 0.45"
BLACK_LETTERS="(r + g + b) / 3 < 0.15"
# The band's letters are white on its dark ground.
WHITE_LETTERS="r > 0.85 && g > 0.85 && b > 0.85"

# In this round a creature reaches player 1 between 5 and 10 seconds in, once it has tapped
# forward a cell out of its home (where it is sheltered) and stands still there.
SEED=$("$ARENA_MAP" find-catch 1 4000)
[ -n "$SEED" ] || fail "no round in which a creature soon catches player 1 a cell from home"
echo "seed $SEED"
export TUVO_SEED=$SEED
start_game
start_round
press_key r
shot start
left=$(read_text start 100x24+22+14 "$RED_LETTERS")
right=$(read_text start 100x24+898+14 "$BLUE_LETTERS")
echo "left header: '$left', right header: '$right'"
echo "$left" | grep -q "PLAYER 1" || fail "the left column is not headed PLAYER 1 ('$left')"
echo "$right" | grep -q "PLAYER 2" || fail "the right column is not headed PLAYER 2 ('$right')"

# The window, watched until player 1's view flashes red: most of it reddened at once. The flash
# lasts 0.6 s of the round, so the window is shot over and over while the shots are looked at,
# each at a quarter of its size.
RED="r > g * 1.5 && r > 0.3"
caught=""
start_burst 1024x735+0+0
deadline=$(($(date +%s) + WAIT_LIMIT))
n=1
while [ "$(date +%s)" -lt "$deadline" ] && kill -0 "$GAME_PID" 2>/dev/null; do
    f="$OUT/burst-$n.bmp"
    if [ ! -e "$f" ]; then
        sleep 0.1
        continue
    fi
    share=$(convert "$f" -crop "$P1_VIEW" +repage -sample 25% -fx "($RED) ? 1 : 0" \
        -format "%[fx:int(100 * mean)]" info:)
    if [ "${share:-0}" -ge 30 ]; then
        convert "$f" "$OUT/caught.png"
        caught=yes
        break
    fi
    rm -f "$f"
    n=$((n + 1))
done
stop_burst
rm -f "$OUT"/burst-*.bmp
[ -n "$caught" ] || fail "player 1's view never flashed red for the catch within $WAIT_LIMIT s"
# Large light letters on a dark rim across the middle of the view.
word=$(read_text caught 300x50+106+580 "r > 0.9 && g > 0.85 && b > 0.65")
echo "player 1's view says '$word'"
echo "$word" | grep -q "CAUGHT" || fail "player 1's view does not say CAUGHT! ('$word')"
# Sent home, it blinks and cannot be caught again at once: the view is calm a second of the round
# later (the flash lasts 0.6 s of the round; a shot taken while a frame is late is taken again,
# twice).
wait_round_seconds 2
for i in 1 2 3; do
    shot_region calm "$P1_VIEW"
    share=$(($(count_pixels calm 512x200+0+0 "$RED") * 100 / 102400))
    [ "$share" -lt 40 ] && break
done
[ "$share" -lt 40 ] || fail "player 1's view still red a second after the catch ($share%)"
keep_screenshot caught caught
press_key Escape
expect_exit 0

# The round's last seconds, then the result panel on its dimmed band.
export TUVO_START_AT=356
start_game
start_round
# The panel offering the next round comes with the result, PLAY AGAIN highlighted.
wait_for "the result at the round's end" screen_shows result 420 462 238 92 44 12
panel=$(read_text result 560x200+232+170 "$WHITE_LETTERS" 6)
echo "result panel: $panel"
echo "$panel" | grep -Eq "WINS|DRAW" || fail "no result line on the panel"
for row in POINTS COINS CHEESE CAUGHT HIT; do
    echo "$panel" | grep -q "$row" || fail "the panel has no $row row"
done
keep_screenshot result result-panel
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "feedback ok"
