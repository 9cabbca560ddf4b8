#!/usr/bin/env bash
# /t: a window with a 600 × 400 client area at (50, 50) shows the scene; keys,
# buttons and mouse moves leave it alone; closing the window or a suspend
# broadcast ends the program.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

start_saver /t
expect_screen_shows "$FirstScreen" "client area" 50,50 649,50 50,449 649,449 350,250
[[ $(pixels 49,250 650,250 350,450) != *$FirstScreen* ]] || fail "the scene spills out of the 600 x 400 client area"

xdotool mousemove 300 300 click 1 key space
for x in 310 320 330 340 350 360 370; do xdotool mousemove "$x" 300; done
sleep 1
saver_runs_on || fail "input ended the test window"
helper close || fail "no saver window to close"
expect_saver_ends 15 "closing the test window"
expect_probe_value mode 3
expect_probe_value devices 1

start_saver /t
expect_screen_shows "$FirstScreen" "client area" 350,250
helper suspend || fail "no saver window to notify"
expect_saver_ends 15 "a suspend broadcast"
echo "test window: passed"
