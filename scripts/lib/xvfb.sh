# Sourced by the scripts that need an X display: when there is none, starts Xvfb on the first free
# display number, exports DISPLAY and leaves the server's process id in XVFB_PID (empty when a
# display was already there). -noreset: else the server starts afresh each time its last client
# leaves, and a program that connects in that moment is turned away.
XVFB_PID=""
start_xvfb() {
    [ -n "${DISPLAY:-}" ] && return 0
    for n in $(seq 90 130); do
        if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then
            Xvfb :$n -screen 0 1920x1200x24 -nolisten tcp -noreset >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=:$n
            break
        fi
    done
    for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
}
