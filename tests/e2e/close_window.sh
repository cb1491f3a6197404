# Closing the window with its title-bar button ends the program with code 0, from the menu and
# from the game.
. "$(dirname "$0")/lib/common.sh"

# Sends the close request to the game's window as it is listed now.
ask_to_close() {
    win=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^TUVO!!$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && "$CLOSE_WINDOW" "$win" 2>/dev/null
}
close_game_window() {
    wait_for "the window to take the request to close" ask_to_close
}

start_game
close_game_window
expect_exit 0

start_game
start_round
close_game_window
expect_exit 0
echo "close ok"
