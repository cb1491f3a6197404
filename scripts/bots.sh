#!/bin/sh
# The computer players' benchmark: each level against each other level, against itself, against
# a player pressing random keys and against scripted rivals of one simple plan (idle: presses
# nothing; coins: bombs obstacles open and takes only the coins; picker: takes whatever lies
# open and never bombs; shadow: keeps within two cells of it and never bombs), over whole rounds
# played headless (tuvo --match, two threads), with seeds the tests do not use. Prints one table
# row per match and keeps the full output in the build folder. Measures; never fails on a result.
# Usage: scripts/bots.sh [build folder, default build] [rounds per match, default 200] [pairs]
# pairs: a space-separated list of LEVEL:RIVAL, default every match of the table; each match
# takes the next ROUNDS seeds from 900000 up, in the order given.
set -eu
BUILD="${1:-build}"
ROUNDS="${2:-200}"
PAIRS="${3:-hard:normal normal:easy hard:easy hard:random normal:random easy:random hard:hard
hard:idle normal:idle easy:idle hard:coins normal:coins easy:coins hard:picker normal:picker
easy:picker hard:shadow normal:shadow easy:shadow}"
SEED=900000
[ -x "$BUILD/tuvo" ] || { echo "no $BUILD/tuvo: build the game first" >&2; exit 1; }
OUT="$BUILD/bots-bench"
mkdir -p "$OUT"
echo "| match ($ROUNDS rounds) | wins | draws | wins of the non-drawn | points a round | longest still (s): first, second | rounds still over 15 s: first, second | share in stills over 5 s: first, second | reversals a minute: first, second | caught by own bombs a round | cheese a round | last change of score (median s) | obstacles left a round | thinking a tick: mean, 99th, 99.9th, max (us) | wall time |"
echo "| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | --- | ---: |"
for pair in $PAIRS; do
    a="${pair%%:*}"
    b="${pair#*:}"
    start=$(date +%s)
    "$BUILD/tuvo" --match "$a" "$b" --rounds "$ROUNDS" --seed "$SEED" >"$OUT/$a-$b.txt"
    took=$(($(date +%s) - start))
    SEED=$((SEED + ROUNDS))
    awk -v a="$a" -v b="$b" -v took="$took" '
        / \(side 1\): / { own = $0; sub(/.*by its own bombs /, "", own); sub(/,.*/, "", own)
                          ch = $0; sub(/.*cheese delivered /, "", ch); sub(/ a round.*/, "", ch)
                          pa = $0; sub(/.*losses; /, "", pa); sub(/ points.*/, "", pa) }
        / \(side 2\): / { pb = $0; sub(/.*losses; /, "", pb); sub(/ points.*/, "", pb) }
        / standing still: / { s = ($0 ~ /side 1/) ? 1 : 2
                              l = $0; sub(/.*box /, "", l); sub(/ s .*/, "", l); longest[s] = l
                              o = $0; sub(/.*over 15 s /, "", o); sub(/;.*/, "", o); over[s] = o
                              sh = $0; sub(/.*over 15 s [0-9]*; /, "", sh); sub(/ %.*/, "", sh); share[s] = sh
                              r = $0; sub(/.*%[^;]*; /, "", r); sub(/ reversals.*/, "", r); rev[s] = r }
        / \(side 1\) thinking/ { t = $0; sub(/.*mean /, "", t); gsub(/ us/, "", t)
                                 gsub(/99th |99.9th |max /, "", t) }
        /^the last change of score/ { lc = $0; sub(/.*score at /, "", lc); sub(/ s .*/, "", lc)
                                      ob = $0; sub(/.*standing /, "", ob); sub(/ a round.*/, "", ob) }
        { last = $0 }
        END { split(last, w, " "); wa = w[2]; wb = w[5]; d = w[7]
              pct = wa + wb > 0 ? 100 * wa / (wa + wb) : 0
              printf "| %s against %s | %d : %d | %d | %.0f %% | %s : %s | %s, %s | %s, %s | %s, %s | %s, %s | %s | %s | %s | %s | %s | %d s |\n",
                     a, b, wa, wb, d, pct, pa, pb, longest[1], longest[2], over[1], over[2],
                     share[1], share[2], rev[1], rev[2], own, ch, lc, ob, t, took }' "$OUT/$a-$b.txt"
done

# Fair for a newcomer, from the matches above where they ran, and both players still: rounds in
# which a still player was caught twice or more in the first minute, hits a round of a still
# player by the computer's bombs, and what a coins-first script wins against each level.
"$BUILD/tuvo" --match idle idle --rounds "$ROUNDS" --seed "$SEED" >"$OUT/idle-idle.txt"
echo
echo "| fairness ($ROUNDS rounds) | easy | normal | hard |"
echo "| --- | ---: | ---: | ---: |"
caught=$(sed -n 's/.*(side 1):.*first minute in \([0-9]*\) rounds/\1/p' "$OUT/idle-idle.txt")
echo "| both players still: rounds with a player caught twice or more in the first minute | $caught | $caught | $caught |"
row() {
    printf '| %s |' "$1"
    for level in easy normal hard; do
        f="$OUT/$level-$2.txt"
        if [ -f "$f" ]; then
            printf ' %s |' "$(sed -n "$3" "$f" | head -1)"
        else
            printf ' - |'
        fi
    done
    echo
}
row "a still player's hits by the computer's bombs a round" idle \
    "s/^idle (side 2):.*by the other's \([0-9.]*\),.*/\1/p"
row "rounds the coins-first script wins" coins 's/^coins (side 2): \([0-9]*\) wins.*/\1/p'
