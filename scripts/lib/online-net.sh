# Sourced (by bash) by the online test and benchmark: a small internet of network namespaces, made and
# removed by them, with nothing in the root namespace. "pub" is the public side: a bridge
# (203.0.113.1/24) where coturn (STUN and TURN on port 3478) and tuvo-lobby (port 7720) run, and
# where each home's router has its public address (203.0.113.1N). Homes 1 and 2 sit behind
# routers that masquerade keeping the home's port where they can, as most home routers do;
# homes 3 and 4 behind routers that masquerade to a random port for every destination (a
# symmetric NAT). Every router drops what comes from outside unless it answers what went out.
# Home N is 192.168.N.2 behind its router's 192.168.N.1. A second lobby on port 7721 hands out
# relay credentials made with the wrong secret, which the relay refuses.
#
#   online_net_up WORK LOBBY_PROGRAM    sets ONLINE_NS (the prefix of the namespaces' names)
#   in_home N COMMAND...                runs a command in home N
#   online_net_down                     stops what runs there and removes the namespaces
ONLINE_NS=""
ONLINE_PIDS=""

online_ns() { echo "${ONLINE_NS}$1"; }

in_home() {
    local n=$1
    shift
    ip netns exec "$(online_ns h$n)" "$@"
}

online_router() {
    local n=$1 nat=$2 r h pub dev
    r=$(online_ns r$n) h=$(online_ns h$n) pub=$(online_ns pub)
    ip netns add "$r"
    ip netns add "$h"
    ip -n "$pub" link add "w$n" type veth peer name wan netns "$r"
    ip -n "$pub" link set "w$n" master br0 up
    ip -n "$r" link add lan type veth peer name eth0 netns "$h"
    ip -n "$r" addr add "203.0.113.1$n/24" dev wan
    ip -n "$r" addr add "192.168.$n.1/24" dev lan
    ip -n "$h" addr add "192.168.$n.2/24" dev eth0
    for dev in lo wan lan; do ip -n "$r" link set "$dev" up; done
    for dev in lo eth0; do ip -n "$h" link set "$dev" up; done
    ip -n "$h" route add default via "192.168.$n.1"
    ip netns exec "$r" sysctl -qw net.ipv4.ip_forward=1
    ip netns exec "$r" nft -f - <<NFT
table ip nat {
    chain postrouting {
        type nat hook postrouting priority srcnat; policy accept;
        oifname "wan" masquerade $nat
    }
}
table inet filter {
    chain input {
        type filter hook input priority filter; policy accept;
        iifname "wan" ct state established,related accept
        iifname "wan" drop
    }
    chain forward {
        type filter hook forward priority filter; policy drop;
        iifname "lan" oifname "wan" accept
        iifname "wan" ct state established,related accept
    }
}
NFT
}

online_net_up() {
    local work=$1 lobby=$2 pub secret i name owner
    # What a run killed outright (no chance to clean up) left behind: namespaces whose maker
    # is gone.
    for name in $(ip netns list | awk '{ print $1 }' | grep -E '^tuvo[0-9]+-' || true); do
        owner=${name#tuvo}
        owner=${owner%%-*}
        kill -0 "$owner" 2>/dev/null && continue
        for i in $(ip netns pids "$name" 2>/dev/null); do kill -9 "$i" 2>/dev/null || true; done
        ip netns del "$name" 2>/dev/null || true
    done
    ONLINE_NS="tuvo$$-"
    pub=$(online_ns pub)
    ip netns add "$pub"
    ip -n "$pub" link add br0 type bridge
    ip -n "$pub" addr add 203.0.113.1/24 dev br0
    ip -n "$pub" link set lo up
    ip -n "$pub" link set br0 up
    online_router 1 ""
    online_router 2 ""
    online_router 3 fully-random
    online_router 4 fully-random
    secret=$(head -c 24 /dev/urandom | base64 | tr -d '/+=')
    echo "$secret" >"$work/turn-secret"
    echo "not-the-secret" >"$work/wrong-secret"
    # coturn with the configuration shipped in packaging/server/turnserver.conf, on the public
    # side's address; its files in WORK (and a narrower range of relay ports).
    sed -e "s|@SECRET@|$secret|" -e "s|@REALM@|tuvo.test|" -e "s|@PUBLIC_IP@|203.0.113.1|" \
        -e '/^syslog$/d' "$(dirname "${BASH_SOURCE[0]}")/../../packaging/server/turnserver.conf" \
        >"$work/turnserver.conf"
    ip netns exec "$pub" turnserver -c "$work/turnserver.conf" --min-port=49152 --max-port=49999 \
        --pidfile="$work/turnserver.pid" --userdb="$work/turndb" --log-file="$work/turn.log" \
        --no-stdout-log >/dev/null 2>&1 &
    ONLINE_PIDS="$ONLINE_PIDS $!"
    ip netns exec "$pub" "$lobby" --listen 203.0.113.1:7720 --turn 203.0.113.1:3478 \
        --turn-secret "$work/turn-secret" 2>"$work/lobby.log" &
    ONLINE_PIDS="$ONLINE_PIDS $!"
    ip netns exec "$pub" "$lobby" --listen 203.0.113.1:7721 --turn 203.0.113.1:3478 \
        --turn-secret "$work/wrong-secret" 2>"$work/lobby-wrong.log" &
    ONLINE_PIDS="$ONLINE_PIDS $!"
    # Ready once the lobbies and the relay answer from a home.
    for i in $(seq 1 50); do
        if in_home 1 bash -c 'exec 3<>/dev/tcp/203.0.113.1/7720' 2>/dev/null &&
            in_home 1 bash -c 'exec 3<>/dev/tcp/203.0.113.1/7721' 2>/dev/null &&
            ip netns exec "$pub" ss -lun 2>/dev/null | grep -q '203.0.113.1:3478'; then
            return 0
        fi
        sleep 0.1
    done
    echo "online-net: the lobby or the relay did not start" >&2
    cat "$work/lobby.log" "$work/turn.log" >&2 2>/dev/null || true
    return 1
}

online_net_down() {
    local p name
    for p in $ONLINE_PIDS; do kill "$p" 2>/dev/null || true; done
    for p in $ONLINE_PIDS; do wait "$p" 2>/dev/null || true; done
    ONLINE_PIDS=""
    [ -n "$ONLINE_NS" ] || return 0
    for name in $(ip netns list | awk '{ print $1 }' | grep "^$ONLINE_NS" || true); do
        # Whatever still runs in a namespace of ours goes with it.
        for p in $(ip netns pids "$name" 2>/dev/null); do kill -9 "$p" 2>/dev/null || true; done
        ip netns del "$name" 2>/dev/null || true
    done
    ONLINE_NS=""
}
