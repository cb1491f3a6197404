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

XDG_CONFIG_HOME="$OUT/host-config" open_window 1 host.log --host-online --lobby 203.0.113.1:7720
HOST_PID=$GAME_PID HOST_WIN=$WIN
for i in $(seq 1 50); do
    CODE=$(sed -n 's/^room code: //p' "$OUT/host.log")
    [ -n "$CODE" ] && break
    sleep 0.1
done
[ -n "$CODE" ] || fail "the host got no room code: $(cat "$OUT/host.log")"
sleep 0.5
shot host-code
keep_screenshot host-code online-host
# The code is written large in dark blocks across the panel's upper part.
dark=$(convert "$OUT/host-code.png" -crop 440x90+292+200 +repage -fill white +opaque '#1a1f40' \
    -fill black -opaque '#1a1f40' -format '%[fx:int(100*(1-mean))]' info:)
echo "the code's letters cover $dark% of their box"
[ "${dark:-0}" -ge 15 ] || fail "the host's code is not shown large ($dark% dark)"

xdotool windowmove "$HOST_WIN" 1040 0
XDG_CONFIG_HOME="$OUT/guest-config" open_window 2 guest.log --lobby 203.0.113.1:7720
GUEST_PID=$GAME_PID GUEST_WIN=$WIN
shot title
menu_click 2.2 -1.85
sleep 0.5
shot choose
[ "$(changed_share title choose 400x200+312+220)" -ge 20 ] || fail "PLAY ONLINE opened nothing"
# JOIN A GAME, the panel's second entry.
xdotool mousemove 512 292
sleep 0.2
xdotool mousedown 1
sleep 0.1
xdotool mouseup 1
sleep 0.5
# Typed as a player types it, in lower case.
press_key "$(echo "$CODE" | cut -c1 | tr 'A-Z' 'a-z')"
for k in $(echo "$CODE" | cut -c2-6 | tr 'A-Z' 'a-z' | sed 's/./& /g'); do
    # A frame takes one typed key; a software renderer with two windows draws a few a second.
    sleep 0.4
    xdotool key --clearmodifiers "$k"
done
sleep 0.5
shot join
keep_screenshot join online-join
press_key Return
for i in $(seq 1 100); do
    grep -q '^path:' "$OUT/guest.log" && grep -q '^path:' "$OUT/host.log" && break
    sleep 0.1
done
grep -qx 'path: direct' "$OUT/guest.log" || fail "the guest did not join directly: $(cat "$OUT/guest.log")"
grep -qx 'path: direct' "$OUT/host.log" || fail "the host did not see player 2 join directly"
sleep 1
shot joined

WIN=$HOST_WIN GAME_PID=$HOST_PID
press_key Return
sleep 3
WIN=$GUEST_WIN GAME_PID=$GUEST_PID
shot round
changed=$(changed_share joined round 1024x200+0+535)
[ "$changed" -ge 50 ] || fail "START in the host's window did not start the guest's round ($changed% changed)"

press_key Escape
expect_exit 0
# The host shows that the other player left: Esc leads back to the title, and Esc there ends it
# (a host that has not heard yet ends at the first Esc, as in a round).
WIN=$HOST_WIN GAME_PID=$HOST_PID
sleep 1
press_key Escape
sleep 1
if kill -0 "$HOST_PID" 2>/dev/null; then
    press_key Escape
fi
expect_exit 0
HOST_PID="" GUEST_PID=""
echo "online ok"
