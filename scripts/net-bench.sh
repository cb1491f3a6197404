#!/bin/sh
# Two headless network sides of the game, each playing a key script, over a relay of ours on
# 127.0.0.1 that delays, reorders, loses and doubles datagrams from a fixed seed: the paths of
# the network goals, one after another, and a table of what came out. With a second program
# (an older build's tuvo), the same runs with it follow, for a before and after in one run.
#   scripts/net-bench.sh [build folder, default build] [other tuvo program]
# NET_BENCH_LONG=0 leaves out the 3-minute round over the 10 % path. Benchmarks measure; they
# never fail on a time. Nothing is sent to any address but 127.0.0.1.
set -eu
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
BUILD="${1:-build}"
OTHER="${2:-}"
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
cmake -S "$ROOT" -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target tuvo net_relay key_script >/dev/null
RELAY="$BUILD/tests/net_relay"
WORK="$(mktemp -d)"
PIDS=""
cleanup() {
    for p in $PIDS; do kill "$p" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT
PORT=17900

now() { date +%s.%N; }
seconds() { echo "$1 $2" | awk '{ printf "%.1f", $2 - $1 }'; }
field() { echo "$1" | awk -v name="$2" '{ for (i = 1; i < NF; ++i) if ($i == name) print $(i + 1) }'; }

# pair PROGRAM TICKS RELAY-ARGUMENTS...: both sides through the relay; prints one table row's
# cells: seconds until both ended, both exit codes (4: the other side left), whether the worlds
# are the same, and the host's corrections.
pair() {
    program="$1" ticks="$2"
    shift 2
    PORT=$((PORT + 2))
    "$BUILD/tests/key_script" "$WORK/host.keys" "$ticks" 4242 11
    "$BUILD/tests/key_script" "$WORK/guest.keys" "$ticks" 4242 22
    "$RELAY" $((PORT + 1)) "$PORT" $((ticks / 60 + 120)) --seed 17 "$@" 2>/dev/null &
    relay=$!
    PIDS="$relay"
    start=$(now)
    "$program" --host "127.0.0.1:$PORT" --headless --keys "$WORK/host.keys" >"$WORK/host.out" 2>&1 &
    host=$!
    sleep 0.2
    "$program" --join "127.0.0.1:$((PORT + 1))" --headless --keys "$WORK/guest.keys" \
        >"$WORK/guest.out" 2>&1 && guestCode=0 || guestCode=$?
    wait "$host" && hostCode=0 || hostCode=$?
    end=$(now)
    kill "$relay" 2>/dev/null || true
    wait "$relay" 2>/dev/null || true
    h=$(field "$(grep '^ticks' "$WORK/host.out" || true)" hash)
    g=$(field "$(grep '^ticks' "$WORK/guest.out" || true)" hash)
    same=no
    [ -n "$h" ] && [ "$h" = "$g" ] && same=yes
    line=$(grep '^ticks' "$WORK/host.out" || true)
    printf '%s s | host %s, guest %s | %s | ticks %s, deepest %s, again p99 %s, frame p99 %s ms\n' \
        "$(seconds "$start" "$end")" "$hostCode" "$guestCode" "$same" \
        "$(field "$line" ticks)" "$(field "$line" deepest)" "$(field "$line" p99 | head -n 1)" \
        "$(field "$line" ms)"
}

# gone PROGRAM HOW: a round over the 120 ms path ended 5 s in, by killing the guest or by the relay
# dropping everything; prints the seconds until the host (and the guest) ended, and their codes.
gone() {
    program="$1" how="$2"
    PORT=$((PORT + 2))
    "$BUILD/tests/key_script" "$WORK/host.keys" 7200 4242 11
    "$BUILD/tests/key_script" "$WORK/guest.keys" 7200 4242 22
    cut=""
    [ "$how" = cut ] && cut="--cut-after 5"
    "$RELAY" $((PORT + 1)) "$PORT" 60 --seed 17 --delay 60 $cut 2>/dev/null &
    relay=$!
    PIDS="$relay"
    "$program" --host "127.0.0.1:$PORT" --headless --keys "$WORK/host.keys" >"$WORK/host.out" 2>&1 &
    host=$!
    sleep 0.2
    "$program" --join "127.0.0.1:$((PORT + 1))" --headless --keys "$WORK/guest.keys" \
        >"$WORK/guest.out" 2>&1 &
    guest=$!
    PIDS="$relay $host $guest"
    sleep 4.8
    ended=$(now)
    if [ "$how" = kill ]; then
        kill -9 "$guest"
    fi
    wait "$host" && hostCode=0 || hostCode=$?
    hostEnd=$(now)
    wait "$guest" 2>/dev/null && guestCode=0 || guestCode=$?
    guestEnd=$(now)
    kill "$relay" 2>/dev/null || true
    wait "$relay" 2>/dev/null || true
    printf 'host ended %s s later (code %s), guest %s s (code %s)\n' \
        "$(seconds "$ended" "$hostEnd")" "$hostCode" "$(seconds "$ended" "$guestEnd")" "$guestCode"
}

bench() {
    program="$1"
    echo "== $program"
    echo "120 ms round trip, nothing lost, 1800 ticks:        $(pair "$program" 1800 --delay 60)"
    echo "120 ms +-25 ms, 3 % lost, 1 % twice, 1800 ticks:    $(pair "$program" 1800 --delay 60 --jitter 25 --loss 0.03 --twice 0.01)"
    echo "250 ms round trip, nothing lost, 1800 ticks:        $(pair "$program" 1800 --delay 125)"
    if [ "${NET_BENCH_LONG:-1}" != 0 ]; then
        echo "120 ms +-25 ms, 10 % lost, 10,800 ticks:            $(pair "$program" 10800 --delay 60 --jitter 25 --loss 0.10)"
    fi
    echo "guest killed 5 s in:                                $(gone "$program" kill)"
    echo "every datagram dropped from 5 s in:                 $(gone "$program" cut)"
    echo
}

echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores"
echo
bench "$BUILD/tuvo"
[ -n "$OTHER" ] && bench "$OTHER"
exit 0
