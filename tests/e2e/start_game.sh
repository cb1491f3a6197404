# A click at the centre of the start area starts the game: the frame changes from the title
# picture to the three views, and Esc then ends the program with code 0.
. "$(dirname "$0")/lib/common.sh"
start_game 3
xdotool mousemove 10 10
sleep 0.5
shot menu
menu_click -0.14 -0.47
sleep 3
shot game
# The player views fill the bottom 200 rows: they must look different from the title picture.
changed=$(changed_pixels menu game 1024x200+0+535)
[ "${changed:-0}" -gt 50000 ] || fail "bottom strip barely changed ($changed pixels)"
# The split between the two player views: the frame shows a different scene left and right.
left=$(pixel game 256 635)
right=$(pixel game 768 635)
echo "left view $left, right view $right"
press_key Escape
expect_exit 0
echo "start ok"
