#!/usr/bin/env bash
# /s covers the whole screen with the demo document's picture and ends on a
# key, on a mouse button, on the sixth mouse move to a new position (but not
# on five) and when another program closes its window.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

readonly Screen=(0,0 800,600)

# Starts a show with the pointer resting in the middle.
start_show() {
  xdotool mousemove 400 300
  start_saver /s
  expect_screen_shows_picture "full-screen show" "${Screen[@]}"
  expect_input_counts "the full-screen show"
  # Let the show settle: only moves made from here on are the test's.
  sleep 1
}

start_show
xdotool key space
expect_saver_ends 15 "a key press"

start_show
xdotool click 1
expect_saver_ends 15 "a mouse click"

start_show
helper close || fail "the helper found no saver window to close"
expect_saver_ends 15 "WM_CLOSE from another program"

start_show
for x in 100 200 300 500 600; do
  xdotool mousemove "$x" 100
  sleep 0.2
done
sleep 1.5
saver_runs_on || fail "five mouse moves ended the show"
screen_shows_picture "${Screen[@]}" || fail "the show stopped drawing after five mouse moves"
xdotool mousemove 700 500
expect_saver_ends 15 "the sixth mouse move"
echo "full screen: passed"
