# A click at the centre of the start area starts the game: the frame changes from the title
# picture to the three views, and Esc then ends the program with code 0.
. "$(dirname "$0")/lib/common.sh"
start_game
shot menu
menu_click -0.14 -0.47
# The player views fill the bottom 200 rows: they come to look different from the title picture.
views_shown() {
    shot game
    [ "$(changed_pixels menu game "$VIEWS_STRIP")" -gt 50000 ]
}
wait_for "the player views in place of the title picture" views_shown
# The split between the two player views: the frame shows a different scene left and right.
left=$(pixel game 256 635)
right=$(pixel game 768 635)
echo "left view $left, right view $right"
press_key Escape
expect_exit 0
echo "start ok"
