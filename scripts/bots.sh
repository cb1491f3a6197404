#!/bin/sh
# The computer players' benchmark: each level against each other level, against itself and
# against a player pressing random keys, over whole rounds played headless (tuvo --match, two
# threads), with seeds the tests do not use; and each side's thinking time per tick. Prints one
# table row per match and keeps the full output in the build folder. Measures; never fails on a
# result.
# Usage: scripts/bots.sh [build folder, default build] [rounds per match, default 200]
set -eu
BUILD="${1:-build}"
ROUNDS="${2:-200}"
SEED=900000
[ -x "$BUILD/tuvo" ] || { echo "no $BUILD/tuvo: build the game first" >&2; exit 1; }
OUT="$BUILD/bots-bench"
mkdir -p "$OUT"
echo "| match ($ROUNDS rounds) | wins | draws | wins of the non-drawn | caught by own bombs a round | cheese a round | thinking a tick: mean, 99th, 99.9th, max (us) | wall time |"
echo "| --- | ---: | ---: | ---: | ---: | ---: | --- | ---: |"
for pair in "hard normal" "normal easy" "hard easy" "hard random" "normal random" "easy random" "hard hard"; do
    set -- $pair
    start=$(date +%s)
    "$BUILD/tuvo" --match "$1" "$2" --rounds "$ROUNDS" --seed "$SEED" >"$OUT/$1-$2.txt"
    took=$(($(date +%s) - start))
    SEED=$((SEED + ROUNDS))
    awk -v a="$1" -v b="$2" -v took="$took" '
        / \(side 1\): / { own = $0; sub(/.*by its own bombs /, "", own); sub(/,.*/, "", own)
                          ch = $0; sub(/.*cheese delivered /, "", ch); sub(/ a round.*/, "", ch) }
        / \(side 1\) thinking/ { t = $0; sub(/.*mean /, "", t); gsub(/ us/, "", t)
                                 gsub(/99th |99.9th |max /, "", t) }
        END { }
        { last = $0 }
        END { split(last, w, " "); wa = w[2]; wb = w[5]; d = w[7]
              share = wa + wb > 0 ? 100 * wa / (wa + wb) : 0
              printf "| %s against %s | %d : %d | %d | %.0f %% | %s | %s | %s | %d s |\n",
                     a, b, wa, wb, d, share, own, ch, t, took }' "$OUT/$1-$2.txt"
done
