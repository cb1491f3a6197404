#!/bin/sh
# The lobby under load, measured (bench/lobby_soak.cpp): rooms made and joined a second, the join
# time of 200 pairs arriving at once and of pairs while 512 silent connections are held, and the
# lobby's memory as ADDRESSES distinct addresses pass (100,000 unless given). Everything runs on
# 127.0.0.0/8, nothing leaves the machine; a table in Markdown comes out. Benchmarks measure;
# they never fail on a time.
#   scripts/lobby-soak.sh [build folder, default build] [ADDRESSES]
set -eu
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
BUILD="${1:-build}"
ADDRESSES="${2:-100000}"
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
cmake -S "$ROOT" -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target tuvo-lobby lobby_soak >/dev/null
"$BUILD/bench/lobby_soak" "$BUILD/tuvo-lobby" "$ADDRESSES"
