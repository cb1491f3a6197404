#!/bin/bash
# Online play end to end, through a small internet of network namespaces made here (see
# scripts/lib/online-net.sh): coturn and tuvo-lobby on the public side, four homes behind NATs.
# Two headless sides of the real program find each other by room code and play a key script:
#   homes 1 and 2, port-keeping NATs with router firewalls:   connected directly
#   home 1 and home 3, one symmetric NAT:                      connected through the relay
#   homes 3 and 4, both symmetric:                             through the relay
#   homes 1 and 2 again, the host always relaying:             through the relay
# and each pair ends with the same world on both sides. Then what must fail, fails with a clear
# message and exit code 2: a wrong code, a code used twice, a lobby not running, a lobby that
# cannot be reached, and a relay that refuses the credentials (both homes symmetric, so the
# relay was the only way). Needs root for the namespaces (it runs itself through sudo otherwise); nothing is sent in the root namespace,
# and everything made is removed at the end.
#   online_paths.sh TUVO TUVO_LOBBY KEY_SCRIPT
set -u
TUVO=$1 LOBBY=$2 KEY_SCRIPT=$3
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
# Network namespaces are made as root: CI runs so; elsewhere the test runs itself through sudo.
if [ "$(id -u)" -ne 0 ]; then
    exec sudo -n -E bash "$0" "$@" ||
        { echo "online_paths: network namespaces need root (or sudo without a password)" >&2; exit 1; }
fi
for tool in ip nft turnserver; do
    command -v "$tool" >/dev/null || { echo "online_paths: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
. "$ROOT/scripts/lib/online-net.sh"
WORK=$(mktemp -d)
cleanup() {
    online_net_down
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
online_net_up "$WORK" "$LOBBY" || exit 1

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
hash_of() { sed -n 's/^ticks \([0-9]*\) hash \([0-9a-f]*\) .*/\1 \2/p' "$1"; }

TICKS=1800
"$KEY_SCRIPT" "$WORK/a.keys" "$TICKS" 5151 11
"$KEY_SCRIPT" "$WORK/b.keys" "$TICKS" 5151 22
"$KEY_SCRIPT" "$WORK/short-a.keys" 600 5151 33
"$KEY_SCRIPT" "$WORK/short-b.keys" 600 5151 44
mkdir -p "$WORK/relay-config/tuvo"
printf '[online]\nalways_relay = yes\n' >"$WORK/relay-config/tuvo/settings.ini"

# side NAME HOME [ARGUMENTS...]: one headless side in a home, in the background, bounded in
# time; its output in WORK/NAME.out and .err, its exit code in WORK/NAME.code.
side() {
    local name=$1 home=$2
    shift 2
    (
        export XDG_CONFIG_HOME="${CONFIG:-$WORK/config-$name}"
        in_home "$home" timeout -k 5 100 "$TUVO" --headless "$@" >"$WORK/$name.out" 2>"$WORK/$name.err"
        echo $? >"$WORK/$name.code"
    ) &
}
# The host's room code, once it has printed it.
code_of() {
    local code i
    for i in $(seq 1 100); do
        code=$(sed -n 's/^room code: \([A-Z0-9]*\)$/\1/p' "$WORK/$1.out" 2>/dev/null)
        [ -n "$code" ] && { echo "$code"; return 0; }
        [ -s "$WORK/$1.code" ] && break
        sleep 0.1
    done
    return 1
}
LOBBY_AT=203.0.113.1:7720

# pair NAME HOST_HOME GUEST_HOME KEYS_HOST KEYS_GUEST [CONFIG of the host]
pair() {
    local name=$1 code
    CONFIG=${6:-} side "$name-host" "$2" --host-online --lobby "$LOBBY_AT" --keys "$WORK/$4"
    if ! code=$(code_of "$name-host"); then
        fail "$name: the host printed no room code: $(cat "$WORK/$name-host.err")"
        return
    fi
    echo "$code" >"$WORK/$name.room"
    side "$name-guest" "$3" --join-code "$code" --lobby "$LOBBY_AT" --keys "$WORK/$5"
}
pair direct 1 2 a.keys b.keys
pair one-symmetric 1 3 a.keys b.keys
pair both-symmetric 3 4 a.keys b.keys
pair always-relay 2 1 short-a.keys short-b.keys "$WORK/relay-config"

# While those play: what must fail.
expect_refusal() {
    local name=$1 words=$2 code
    wait_for "$name"
    code=$(cat "$WORK/$name.code" 2>/dev/null)
    [ "$code" = 2 ] || fail "$name: exit code ${code:-none}, not 2"
    grep -q "$words" "$WORK/$name.err" ||
        fail "$name: no '$words' on standard error: $(cat "$WORK/$name.err")"
}
wait_for() {
    local i
    for i in $(seq 1 1200); do
        [ -s "$WORK/$1.code" ] && return 0
        sleep 0.1
    done
}
side wrong-code 2 --join-code 23456X --lobby "$LOBBY_AT" --keys "$WORK/b.keys"
side no-lobby 2 --join-code 23456X --lobby 203.0.113.1:7799 --keys "$WORK/b.keys"
side lobby-unreachable 2 --host-online --lobby 203.0.113.99:7720 --keys "$WORK/a.keys"
# A lobby whose relay credentials the relay refuses (made with another secret).
LOBBY_AT=203.0.113.1:7721 pair refused 3 4 short-a.keys short-b.keys
LOBBY_AT=203.0.113.1:7720
expect_refusal wrong-code "no game has the code 23456X"
expect_refusal no-lobby "cannot reach the lobby at 203.0.113.1:7799"
expect_refusal lobby-unreachable "lobby at 203.0.113.99:7720"
expect_refusal refused-guest "the relay refused"
expect_refusal refused-host "the relay refused"
# The code of a room already joined is no good any more.
room=$(cat "$WORK/direct.room" 2>/dev/null) || fail "the direct pair had no room code to use twice"
side used-twice 4 --join-code "${room:-222222}" --lobby 203.0.113.1:7720 --keys "$WORK/b.keys"
expect_refusal used-twice "no game has the code ${room:-222222}"

# path NAME WHICH: both sides said it, and nothing else.
for check in direct:direct one-symmetric:relayed both-symmetric:relayed always-relay:relayed; do
    name=${check%%:*} path=${check#*:}
    for role in host guest; do
        wait_for "$name-$role"
        code=$(cat "$WORK/$name-$role.code" 2>/dev/null)
        [ "$code" = 0 ] || fail "$name $role: exit code ${code:-none}: $(cat "$WORK/$name-$role.err")"
        grep -qx "path: $path" "$WORK/$name-$role.out" ||
            fail "$name $role: not 'path: $path': $(grep '^path' "$WORK/$name-$role.out")"
    done
    host=$(hash_of "$WORK/$name-host.out")
    guest=$(hash_of "$WORK/$name-guest.out")
    ticks=${host%% *}
    { [ -n "$host" ] && [ "$host" = "$guest" ]; } || fail "$name: the worlds differ: '$host' and '$guest'"
    want=$TICKS
    [ "$name" = always-relay ] && want=600
    [ "$ticks" = "$want" ] || fail "$name: $ticks ticks played, not $want"
    echo "$name: path: $path, $ticks ticks, the same world on both sides ($host)"
done
[ "$failures" -eq 0 ] && echo "online paths: all cases as expected"
[ "$failures" -eq 0 ]
