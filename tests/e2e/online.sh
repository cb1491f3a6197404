# Two windows play online through the lobby, each in a home of its own behind a NAT (network
# namespaces made here; as root, else through sudo): the host's title shows its room code
# large; the guest opens PLAY ONLINE on the title, chooses JOIN A GAME, types the code and joins;
# both say the path is direct; START in the host's window begins the round in the guest's.
# With SCREENSHOT_DIR the host's code and the join screen are kept as pictures.
. "$(dirname "$0")/lib/common.sh"
# Network namespaces are made as root: CI runs so; elsewhere the test runs itself through sudo.
if [ "$(id -u)" -ne 0 ]; then
    exec sudo -n -E bash "$0" "$@" || fail "network namespaces need root (or sudo without a password)"
fi
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
. "$ROOT/scripts/lib/online-net.sh"
HOST_PID="" GUEST_PID=""
trap 'kill $HOST_PID $GUEST_PID 2>/dev/null; online_net_down' EXIT
online_net_up "$OUT" "$BUILD_DIR/tuvo-lobby" || fail "the lobby and the relay did not start"
export TUVO_SEED=4

# start_game in home N: open_window N LOG ARGUMENTS...
open_window() {
    GAME_LAUNCH="ip netns exec $(online_ns "h$1")" GAME_LOG=$2 GAME_ARGS="${*:3}" start_game
}

# wait_until SECONDS WHAT COMMAND...: COMMAND again and again until it succeeds; after SECONDS
# the test fails saying WHAT did not happen.
wait_until() {
    local limit=$1 what=$2 end
    shift 2
    end=$(($(date +%s) + limit))
    until "$@"; do
        [ "$(date +%s)" -lt "$end" ] || fail "$what"
        sleep 0.2
    done
}
# The share in percent of the code's box, across the panel's upper part, in the code's dark blue.
code_darkness() {
    convert "$OUT/$1.png" -crop 440x90+"$2"+200 +repage -fill white +opaque '#1a1f40' \
        -fill black -opaque '#1a1f40' -format '%[fx:int(100*(1-mean))]' info:
}
# shows_code NAME X MIN: a screenshot NAME whose code box at X is at least MIN percent dark.
shows_code() {
    shot "$1"
    [ "$(code_darkness "$1" "$2")" -ge "$3" ]
}
# changed_since FROM NAME REGION PERCENT: a screenshot NAME differing from FROM that much there.
changed_since() {
    shot "$2"
    [ "$(changed_share "$1" "$2" "$3")" -ge "$4" ]
}
has_line() { grep -q "$2" "$OUT/$1"; }
gone() { ! kill -0 "$1" 2>/dev/null; }

XDG_CONFIG_HOME="$OUT/host-config" open_window 1 host.log --host-online --lobby 203.0.113.1:7720
HOST_PID=$GAME_PID HOST_WIN=$WIN
wait_until 10 "the host got no room code: $(cat "$OUT/host.log")" has_line host.log '^room code: '
CODE=$(sed -n 's/^room code: //p' "$OUT/host.log")
# The code is written large in dark blocks across the panel's upper part.
wait_until 20 "the host's code is not shown large" shows_code host-code 292 15
dark=$(code_darkness host-code 292)
echo "the code's letters cover $dark% of their box"
keep_screenshot host-code online-host

xdotool windowmove "$HOST_WIN" 1040 0
XDG_CONFIG_HOME="$OUT/guest-config" open_window 2 guest.log --lobby 203.0.113.1:7720
GUEST_PID=$GAME_PID GUEST_WIN=$WIN
shot title
menu_click 2.2 -1.85
wait_until 20 "PLAY ONLINE opened nothing" changed_since title choose 400x200+312+220 20
# JOIN A GAME, the panel's second entry.
xdotool mousemove 512 292
xdotool mousedown 1
sleep 0.1
xdotool mouseup 1
wait_until 20 "JOIN A GAME showed no join screen" changed_since choose join-empty 440x90+292+200 3
# Typed as a player types it, in lower case, twenty keys a second whatever the frame rate.
timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
xdotool type --delay 50 "$(echo "$CODE" | tr 'A-Z' 'a-z')"
wait_until 20 "the typed code is not all there" shows_code join 292 $((dark - 2))
keep_screenshot join online-join
press_key Return
wait_until 20 "the guest did not join: $(cat "$OUT/guest.log")" has_line guest.log '^path:'
wait_until 20 "the host did not see player 2 join" has_line host.log '^path:'
grep -qx 'path: direct' "$OUT/guest.log" || fail "the guest did not join directly: $(cat "$OUT/guest.log")"
grep -qx 'path: direct' "$OUT/host.log" || fail "the host did not see player 2 join directly"
# The guest's panel says it joined, and how.
wait_until 20 "the guest's panel did not say it joined" changed_since join joined \
    640x30+192+310 5

WIN=$HOST_WIN GAME_PID=$HOST_PID
press_key Return
WIN=$GUEST_WIN GAME_PID=$GUEST_PID
wait_until 30 "START in the host's window did not start the guest's round" \
    changed_since joined round 1024x200+0+535 50

press_key Escape
expect_exit 0
# The host shows that the other player left: Esc leads back to the title, and Esc there ends it
# (a host that has not heard yet ends at the first Esc, as in a round).
WIN=$HOST_WIN GAME_PID=$HOST_PID
for i in $(seq 1 10); do
    gone "$HOST_PID" && break
    press_key Escape
    for j in $(seq 1 10); do
        gone "$HOST_PID" && break
        sleep 0.2
    done
done
expect_exit 0
HOST_PID="" GUEST_PID=""
echo "online ok"
