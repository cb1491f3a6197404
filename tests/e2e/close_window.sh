# Closing the window with its title-bar button ends the program with code 0, from the menu and
# from the game.
. "$(dirname "$0")/lib/common.sh"
start_game 2
"$CLOSE_WINDOW" "$WIN" || fail "could not ask the window to close"
expect_exit 0

start_game 2
menu_click -0.14 -0.47
sleep 1
"$CLOSE_WINDOW" "$WIN" || fail "could not ask the window to close"
expect_exit 0
echo "close ok"
