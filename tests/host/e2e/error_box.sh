#!/usr/bin/env bash
# A show whose scene document does not load (a test variant of the program
# that embeds the demo document cut short) shows a 300 × 150 box with "Could
# not load required media." that moves over black, and still ends on a key.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

readonly MediaText="Could not load required media."

box_shown() {
  shot
  [[ $(pixels --box "$BoxColour" 2) != none ]]
}

# "x0 y0 x1 y1 count" of the box's window-coloured pixels, every 2nd pixel.
box_extent() {
  shot
  pixels --box "$BoxColour" 2
}

# True when the box on a new screenshot shows text, pixel for pixel as the
# helper paints the box with that text. The frame's black line lies just
# outside the window-coloured inside.
box_reads() {
  local x0 y0
  shot
  read -r x0 y0 _ <<<"$(pixels --box "$BoxColour")"
  [[ $x0 != none ]] && [[ $(pixels --mask "$((x0 - 1)),$((y0 - 1))" 300 150) == "$1" ]]
}

# The box as the helper paints it with a text, in a window of its own at the
# top left: its mask into file $2.
sample_box() {
  rm -f "$work/box-done"
  wine "$helper" showbox "$1" "Z:$work/box-done" >/dev/null 2>&1 &
  local sampler=$!
  wait_until 20 sample_shown || fail "the helper showed no box"
  pixels --mask 0,0 300 150 >"$2"
  touch "$work/box-done"
  wait "$sampler" || fail "the helper's box failed"
}

sample_shown() {
  shot
  [[ $(pixels --box "$BoxColour") == "1 1 299 149 "* ]]
}

sample_box "$MediaText" "$work/expected-mask"
sample_box "Not enough memory." "$work/other-mask"
cmp -s "$work/expected-mask" "$work/other-mask" && fail "the box's masks do not tell texts apart"

xdotool mousemove 400 300
start_program "$badscene" /s
wait_for_program box_shown || fail "no error box, $wait_failure"
read -r x0 y0 x1 y1 _ <<<"$(box_extent)"
# The frame and the text take some of the box's pixels.
((x1 - x0 >= 290 && x1 - x0 <= 300 && y1 - y0 >= 140 && y1 - y0 <= 150)) ||
  fail "the box is $((x1 - x0)) x $((y1 - y0)) at ($x0, $y0)"
[[ $(pixels 0,0 799,0 0,599 799,599 | sort -u) == "$Black" ]] || fail "the box is not on black"

# The box moves while it is read: a screenshot may catch it half painted.
wait_until 5 box_reads "$(cat "$work/expected-mask")" || fail "the box does not read \"$MediaText\""

sleep 0.7
read -r moved_x0 moved_y0 _ <<<"$(box_extent)"
((moved_x0 != x0 && moved_y0 != y0)) || fail "the box did not move: ($x0, $y0) then ($moved_x0, $moved_y0)"

expect_input_counts "the error box"
xdotool key space
expect_saver_ends 15 "a key press over the error box"
echo "error box: passed"
