# The title picture fills the window with its START, HELP and OPTIONS buttons where the clicks land; HELP
# opens the help picture, its BACK button brings the title back, and START begins the game.
. "$(dirname "$0")/lib/common.sh"
end_game_on_exit

# Window pixel of a point of the menu plane.
menu_pixel() {
    awk -v u="$1" -v v="$2" 'BEGIN { printf "%d %d", 512 + u * 1024 / 11.5, 367 - v * 735 / 8.3 }'
}

# Every point (menu units) must show the button face colour R G B.
expect_face() {
    name="$1" what="$2" r="$3" g="$4" b="$5"
    shift 5
    while [ $# -ge 2 ]; do
        set -- $(menu_pixel "$1" "$2") "$@"
        c=$(pixel "$name" "$1" "$2")
        colour_near "$c" "$r" "$g" "$b" 12 || fail "$what face not at ($3, $4): pixel $1,$2 is $c"
        shift 4
    done
}

# The corners of the window: the picture overfills the view, so no clear colour shows anywhere.
expect_filled() {
    for p in "2 2" "1021 2" "2 732" "1021 732" "512 367"; do
        c=$(pixel "$1" $p)
        [ "$c" != "0,0,0" ] || fail "$1: nothing drawn at $p"
    done
}

start_game
# Keep the pointer off the buttons: one that moves onto a button takes the highlight.
xdotool mousemove 10 10
shot title
expect_filled title
# Inside each button, away from its lettering.
expect_face title START 238 92 44 -1.6 -0.47 1.3 -0.6 -1.5 -0.65 1.1 -0.5
expect_face title HELP 48 136 226 -0.7 -1.85 0.45 -1.85 -0.7 -1.95 0.5 -2.0
expect_face title OPTIONS 30 158 150 -1.3 -2.95 1.0 -2.95 -1.25 -3.1 0.95 -3.1
keep_screenshot title title

menu_click -0.14 -1.85
# The pointer stays on HELP until the click has been taken.
wait_for "the help picture after a click on HELP" screen_changed title help 1024x735+0+0 50
xdotool mousemove 10 10
expect_filled help
expect_face help BACK 48 136 226 4.2 -3.47 5.2 -3.47 4.1 -3.6 5.2 -3.6
keep_screenshot help help

# A click on START's place while the help picture shows does nothing.
menu_click -1.6 -0.47
observe 1
xdotool mousemove 10 10
shot help-again
changed=$(changed_share help help-again 1024x735+0+0)
[ "$changed" -le 1 ] || fail "a click outside BACK changed the help picture ($changed%)"

menu_click 4.685 -3.47
# The highlight stays on HELP, the button last pressed: the picture above the buttons is as it was.
title_back() {
    shot title-again
    [ "$(changed_share title title-again 1024x300+0+0)" -le 1 ]
}
wait_for "BACK to bring the title picture back" title_back
xdotool mousemove 10 10
expect_face title-again START 238 92 44 -1.6 -0.47 1.3 -0.6

start_round
shot game
# The three views replace the picture: above all the strip of player views at the bottom.
changed=$(changed_share title-again game 1024x200+0+535)
[ "$changed" -ge 50 ] || fail "START changed only $changed% of the player views' strip"
press_key Escape
expect_exit 0
rm -rf "$OUT"
echo "title menu ok"
