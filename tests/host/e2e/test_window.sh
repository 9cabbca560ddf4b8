#!/usr/bin/env bash
# /t: a window with a 600 × 400 client area at (50, 50) shows the splash while
# the document loads, then the demo document's first picture over the whole
# client area and nowhere else; keys, buttons and mouse moves leave it alone;
# closing the window or a suspend broadcast ends the program.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

readonly Client=(50,50 650,450)

# The splash: a picture on a square of two thirds of the height in the middle
# of the client area, black to its left and right.
shows_splash() {
  ! shows_black 330,230 370,270 && shows_black 50,50 200,450 && shows_black 500,50 650,450
}

# Screenshots as fast as they come until the picture shows; the splash lasts
# only as long as the document takes to load.
splash_seen=0
picture_or_splash() {
  shot
  if shows_splash; then splash_seen=1; fi
  shows_picture "${Client[@]}"
}

start_saver /t
wait_for_program picture_or_splash ||
  fail "no picture over the client area, $wait_failure: $(pixels --stats "${Client[@]}" 4)"
((splash_seen)) || fail "no splash before the picture"
shows_black 0,0 800,50 && shows_black 0,450 800,600 && shows_black 0,50 50,450 && shows_black 650,50 800,450 ||
  fail "the picture spills out of the 600 x 400 client area"

xdotool mousemove 300 300 click 1 key space
for x in 310 320 330 340 350 360 370; do xdotool mousemove "$x" 300; done
sleep 1
saver_runs_on || fail "input ended the test window"
screen_shows_picture "${Client[@]}" || fail "the picture went after the input"
helper close || fail "no saver window to close"
expect_saver_ends 15 "closing the test window"

start_saver /t
expect_screen_shows_picture "the second run" "${Client[@]}"
helper suspend || fail "no saver window to notify"
expect_saver_ends 15 "a suspend broadcast"
echo "test window: passed"
