#!/bin/sh
# Runs the bitmap fuzz target for a number of seconds on a scratch copy of the seed corpus, so
# that the inputs it discovers stay out of the source tree. A crashing input is kept in the
# folder the script was started from, named bitmap-crash-....
# Usage: run_fuzz.sh FUZZER SEED_CORPUS_DIR [SECONDS]
set -eu
fuzzer=$1
seeds=$2
seconds=${3:-60}
here=$(cd "$(dirname "$0")" && pwd)
start=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp "$seeds"/*.bmp "$work/corpus/"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -dict="$here/bitmap.dict" -artifact_prefix="$start/bitmap-" -print_final_stats=1 \
    "$work/corpus"
