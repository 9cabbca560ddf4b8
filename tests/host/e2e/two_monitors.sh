#!/usr/bin/env bash
# Two monitors side by side (Xorg's dummy driver, 800 × 600 each): the
# full-screen show opens one window per monitor, each monitor shows the demo
# document drawn by a device of its own, and a key ends both. The display
# settings have a tab for each monitor.
source "$(dirname "$0")/e2e-lib.sh"

cat >"$work/xorg.conf" <<'CONF'
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 64000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 1600 600
  EndSubSection
EndSection
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
EndSection
CONF

start_x_server Xorg -displayfd 3 -config "$work/xorg.conf" -logfile "$work/xorg.log" -noreset -nolisten tcp
xrandr --addmode DUMMY1 800x600
xrandr --fb 1600x600 --output DUMMY0 --mode 800x600 --pos 0x0 --output DUMMY1 --mode 800x600 --pos 800x0
two_monitors_listed() {
  xrandr --listmonitors | grep -q "^Monitors: 2"
}
wait_until 10 two_monitors_listed || fail "the X server shows $(xrandr --listmonitors | head -1)"
start_wine

xdotool mousemove 400 300
start_saver /s
expect_screen_shows_picture "first monitor" 0,0 800,600
expect_screen_shows_picture "second monitor" 800,0 1600,600
windows=$(helper windows | tr -d '\r' | sort)
[[ $windows == $'window 0 0 800 600\nwindow 800 0 1600 600' ]] || fail "saver windows: $windows"

xdotool key space
expect_saver_ends 15 "a key press"

start_saver /c
helper dialog Nightglass click 1006 >/dev/null 2>&1 || fail "no settings dialog"
texts=$(helper dialog "Display Settings" texts 2>/dev/null | tr -d '\r')
grep -qxF $'2000\ttabs\t2\t0' <<<"$texts" || fail "the display settings of two monitors: $texts"
helper dialog "Display Settings" click 2 >/dev/null 2>&1 || fail "no display settings"
helper dialog "Display Settings" gone >/dev/null 2>&1 || fail "the display settings stayed"
helper dialog Nightglass click 2 >/dev/null 2>&1 || fail "no settings dialog to cancel"
expect_saver_ends 15 "Cancel in the settings dialog"
echo "two monitors: passed"
