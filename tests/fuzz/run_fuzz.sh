#!/bin/sh
# Runs one fuzz target for a number of seconds on a scratch copy of its seed corpus, so that the
# inputs it discovers stay out of the source tree. A crashing input is kept in the folder the
# script was started from, named KIND-crash-... (or -leak-, -oom-, -timeout-).
# No single allocation may pass 64 MB: every input is a few kilobytes, so a larger one means a
# size was taken from the file on trust.
# Usage: run_fuzz.sh FUZZER KIND [SECONDS]     KIND: bitmap (corpus/, bitmap.dict), wav, replay, packet, settings or lobby
set -eu
fuzzer=$1
kind=$2
seconds=${3:-60}
here=$(cd "$(dirname "$0")" && pwd)
case "$kind" in
bitmap) seeds="$here/corpus" ;;
wav) seeds="$here/wav_corpus" ;;
replay) seeds="$here/replay_corpus" ;;
packet) seeds="$here/packet_corpus" ;;
settings) seeds="$here/settings_corpus" ;;
lobby) seeds="$here/lobby_corpus" ;;
*) echo "run_fuzz.sh: unknown kind $kind" >&2; exit 2 ;;
esac
start=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp "$seeds"/* "$work/corpus/"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=64 \
    -dict="$here/$kind.dict" -artifact_prefix="$start/$kind-" -print_final_stats=1 \
    "$work/corpus"
