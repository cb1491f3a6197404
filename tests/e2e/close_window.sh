# Closing the window with its title-bar button ends the program with code 0, from the menu and
# from the game.
. "$(dirname "$0")/lib/common.sh"

# Sends the close request to the game's window as it is listed now.
close_game_window() {
    for try in 1 2 3; do
        win=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^TUVO!!$' 2>/dev/null | head -n 1)
        [ -n "$win" ] && "$CLOSE_WINDOW" "$win" 2>/dev/null && return 0
        sleep 0.5
    done
    fail "could not ask the window to close"
}

start_game 2
close_game_window
expect_exit 0

start_game 2
menu_click -0.14 -0.47
sleep 1
close_game_window
expect_exit 0
echo "close ok"
