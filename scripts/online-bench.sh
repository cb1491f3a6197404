#!/bin/bash
# Online play measured in a small internet of network namespaces (scripts/lib/online-net.sh;
# needs root): for each kind of path, how long from the guest's code to its path and to the
# round's first tick, and how a relayed round of 1800 ticks keeps its pace against a direct one;
# then how long each failure takes to be said. Nothing is sent in the root namespace.
#   scripts/online-bench.sh [build folder, default build] [rounds per case, default 3]
# Benchmarks measure; they never fail on a time.
set -u
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
BUILD="${1:-build}"
ROUNDS="${2:-3}"
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
[ "$(id -u)" -eq 0 ] || { echo "online-bench.sh: needs root for the namespaces" >&2; exit 1; }
cmake -S "$ROOT" -B "$BUILD" >/dev/null || exit 1
cmake --build "$BUILD" -j2 --target tuvo tuvo-lobby key_script >/dev/null || exit 1
. "$ROOT/scripts/lib/online-net.sh"
WORK="$(mktemp -d)"
trap 'online_net_down; rm -rf "$WORK"' EXIT
online_net_up "$WORK" "$BUILD/tuvo-lobby" || exit 1
TICKS=1800
"$BUILD/tests/key_script" "$WORK/a.keys" "$TICKS" 6161 11
"$BUILD/tests/key_script" "$WORK/b.keys" "$TICKS" 6161 22
export XDG_CONFIG_HOME="$WORK/config"

now() { date +%s.%N; }
# A side whose every line of output is stamped with the moment it came: stamped NAME HOME ARGS...
stamped() {
    local name=$1 home=$2
    shift 2
    in_home "$home" timeout 120 "$BUILD/tuvo" --headless "$@" 2>"$WORK/$name.err" |
        while IFS= read -r line; do echo "$(now) $line"; done >"$WORK/$name.out"
}
at() { awk -v p="$2" 'index($0, p) == length($1) + 2 { print $1; exit }' "$WORK/$1.out"; }
field() { awk -v n="$2" '/ ticks [0-9]+ hash / { for (i = 1; i < NF; ++i) if ($i == n) print $(i + 1) }' "$WORK/$1.out"; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a - b }'; }

# One round of a pair: host in home H, guest in home G; one table row. The round's first tick
# on the guest is when its last line came less the round's own seconds in it.
pair() {
    local name=$1 h=$2 g=$3 code="" start path first seconds same=no
    rm -f "$WORK/$name-"*   # a code left from the last round is not this one's
    stamped "$name-host" "$h" --host-online --lobby 203.0.113.1:7720 --keys "$WORK/a.keys" &
    local host=$!
    for i in $(seq 1 100); do
        code=$(sed -n 's/^[0-9.]* room code: //p' "$WORK/$name-host.out" 2>/dev/null)
        [ -n "$code" ] && break
        sleep 0.05
    done
    start=$(now)
    stamped "$name-guest" "$g" --join-code "$code" --lobby 203.0.113.1:7720 --keys "$WORK/b.keys" || true
    wait "$host" || true
    path=$(at "$name-guest" "path:")
    seconds=$(field "$name-guest" seconds)
    first=$(awk '/ ticks [0-9]+ hash / { print $1 }' "$WORK/$name-guest.out")
    [ -n "$(field "$name-host" hash)" ] && [ "$(field "$name-host" hash)" = "$(field "$name-guest" hash)" ] && same=yes
    if [ -z "$path" ] || [ -z "$seconds" ]; then
        echo "| $name | failed: $(head -n 1 "$WORK/$name-guest.err") | | | | no | |"
        return
    fi
    echo "| $name | $(sed -n 's/^[0-9.]* path: //p' "$WORK/$name-guest.out") | $(minus "$path" "$start") |" \
        "$(minus "$(minus "$first" "$seconds")" "$start") | $seconds | $same | $(field "$name-guest" corrections) |"
}

echo "| case | path | code to path, s | code to first tick, s | 1800 ticks, s | same world | corrections |"
echo "| --- | --- | ---: | ---: | ---: | --- | ---: |"
for r in $(seq 1 "$ROUNDS"); do
    pair direct 1 2
    pair one-symmetric 1 3
    pair both-symmetric 3 4
done

# How long a failure takes to be said, from the start of the side that says it.
failure() {
    local name=$1 home=$2 start end
    shift 2
    start=$(now)
    in_home "$home" timeout 60 "$BUILD/tuvo" --headless "$@" >/dev/null 2>"$WORK/$name.err" || true
    end=$(now)
    echo "| $name | $(minus "$end" "$start") s | $(head -n 1 "$WORK/$name.err") |"
}
echo
echo "| failure | said after | message |"
echo "| --- | ---: | --- |"
failure "wrong code" 2 --join-code 23456X --lobby 203.0.113.1:7720 --keys "$WORK/b.keys"
failure "lobby not running" 2 --join-code 23456X --lobby 203.0.113.1:7799 --keys "$WORK/b.keys"
failure "lobby unreachable" 2 --host-online --lobby 203.0.113.99:7720 --keys "$WORK/a.keys"
stamped refused-host 3 --host-online --lobby 203.0.113.1:7721 --keys "$WORK/a.keys" &
refused=$!
for i in $(seq 1 100); do
    code=$(sed -n 's/^[0-9.]* room code: //p' "$WORK/refused-host.out" 2>/dev/null)
    [ -n "$code" ] && break
    sleep 0.05
done
failure "relay refused (both symmetric)" 4 --join-code "$code" --lobby 203.0.113.1:7721 --keys "$WORK/b.keys"
wait "$refused"
