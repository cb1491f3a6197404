# Online play with no lobby anywhere, on one network: the host's HOST A GAME still shows a code
# (its game serves a lobby of its own), and the guest's JOIN A GAME finds that game by a
# broadcast on the network, fills in its code, and joins directly. The network is a namespace
# made here (as root, else through sudo) with two addresses on a veth pair, nothing else; both
# windows run in it, as two games on one machine do.
. "$(dirname "$0")/lib/common.sh"
if [ "$(id -u)" -ne 0 ]; then
    exec sudo -n -E bash "$0" "$@" || fail "network namespaces need root (or sudo without a password)"
fi
NS="tuvo$$-lan"
HOST_PID="" GUEST_PID=""
cleanup() {
    kill $HOST_PID $GUEST_PID 2>/dev/null
    for p in $(ip netns pids "$NS" 2>/dev/null); do kill -9 "$p" 2>/dev/null; done
    ip netns del "$NS" 2>/dev/null
    true
}
trap cleanup EXIT
ip netns add "$NS" || fail "cannot make a network namespace"
ip -n "$NS" link add lan0 type veth peer name lan1
ip -n "$NS" addr add 10.77.0.1/24 dev lan0
ip -n "$NS" addr add 10.77.0.2/24 dev lan1
for dev in lo lan0 lan1; do ip -n "$NS" link set "$dev" up; done
export TUVO_SEED=4

wait_until() {
    local limit=$1 what=$2 end
    shift 2
    end=$(($(date +%s) + limit))
    until "$@"; do
        [ "$(date +%s)" -lt "$end" ] || fail "$what"
        sleep 0.2
    done
}
has_line() { grep -q "$2" "$OUT/$1"; }
changed_since() {
    shot "$2"
    [ "$(changed_share "$1" "$2" "$3")" -ge "$4" ]
}

# Both with the build's lobby (localhost:7720), where nothing listens.
GAME_LAUNCH="ip netns exec $NS" GAME_LOG=host.log GAME_ARGS="--host-online" \
    XDG_CONFIG_HOME="$OUT/host-config" start_game
HOST_PID=$GAME_PID HOST_WIN=$WIN
wait_until 20 "the host got no code of its own: $(cat "$OUT/host.log")" has_line host.log '^room code: '
CODE=$(sed -n 's/^room code: //p' "$OUT/host.log")
echo "the host's code on this network: $CODE"

xdotool windowmove "$HOST_WIN" 1040 0
GAME_LAUNCH="ip netns exec $NS" GAME_LOG=guest.log GAME_ARGS="" \
    XDG_CONFIG_HOME="$OUT/guest-config" start_game
GUEST_PID=$GAME_PID GUEST_WIN=$WIN
shot title
menu_click 2.2 -1.85
wait_until 20 "PLAY ONLINE opened nothing" changed_since title choose 400x200+312+220 20
xdotool mousemove 512 292
xdotool mousedown 1
sleep 0.1
xdotool mouseup 1
# The join screen lists the game found on the network, its code already filled in.
wait_until 20 "the join screen found no game on this network" changed_since choose found \
    440x90+292+200 10
keep_screenshot found online-found
press_key Return
wait_until 30 "the guest did not join: $(cat "$OUT/guest.log")" has_line guest.log '^path:'
wait_until 30 "the host did not see player 2 join" has_line host.log '^path:'
grep -qx 'path: direct' "$OUT/guest.log" || fail "the guest did not join directly: $(cat "$OUT/guest.log")"
grep -qx 'path: direct' "$OUT/host.log" || fail "the host did not see player 2 join directly"

press_key Escape
WIN=$GUEST_WIN GAME_PID=$GUEST_PID
for i in $(seq 1 10); do
    kill -0 "$GUEST_PID" 2>/dev/null || break
    press_key Escape
    sleep 0.5
done
expect_exit 0
WIN=$HOST_WIN GAME_PID=$HOST_PID
for i in $(seq 1 10); do
    kill -0 "$HOST_PID" 2>/dev/null || break
    press_key Escape
    sleep 0.5
done
expect_exit 0
HOST_PID="" GUEST_PID=""
echo "online on one network ok"
