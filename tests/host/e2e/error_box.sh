#!/usr/bin/env bash
# A show whose scene fails to load (the probe's second frame fails with
# MediaNotFound) shows a 300 × 150 box with "Could not load required media."
# that moves over black, and still ends on a key.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

box_shown() {
  shot
  [[ $(pixels --box "$BoxColour" 2) != none ]]
}

# "x0 y0 x1 y1 count" of the box's window-coloured pixels, every 2nd pixel.
box_extent() {
  shot
  pixels --box "$BoxColour" 2
}

xdotool mousemove 400 300
NIGHTGLASS_PROBE_FAIL=load start_saver /s
wait_until 20 box_shown || fail "no error box"
read -r x0 y0 x1 y1 _ <<<"$(box_extent)"
# The frame and the text take some of the box's pixels.
((x1 - x0 >= 290 && x1 - x0 <= 300 && y1 - y0 >= 140 && y1 - y0 <= 150)) ||
  fail "the box is $((x1 - x0)) x $((y1 - y0)) at ($x0, $y0)"
[[ $(pixels 0,0 799,0 0,599 799,599 | sort -u) == "$Black" ]] || fail "the box is not on black"
[[ $(pixels --box "$FirstScreen" 4) == none ]] || fail "the scene is still on screen beside the box"

sleep 0.7
read -r moved_x0 moved_y0 _ <<<"$(box_extent)"
((moved_x0 != x0 && moved_y0 != y0)) || fail "the box did not move: ($x0, $y0) then ($moved_x0, $moved_y0)"

xdotool key space
expect_saver_ends 15 "a key press over the error box"
expect_probe_value error "1 8200000b Could not load required media."
echo "error box: passed"
