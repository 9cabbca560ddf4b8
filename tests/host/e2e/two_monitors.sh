#!/usr/bin/env bash
# Two monitors side by side (Xorg's dummy driver), one 4:3 at 1024 × 768 and
# one 16:9 at 1280 × 720, with the picture position Fit: the full-screen show
# opens one window per monitor, each monitor shows the demo document's first
# picture (16:9) whole, drawn by a device of its own with its own placement:
# letterboxed between black bands on the 4:3 monitor, edge to edge on the
# 16:9 one. With sound (the null ALSA device of the e2e HOME) the music is
# written out once for both screens: one copy of each track. A key ends both. The screenshot is kept as e2e-two-monitors.png
# in the build folder. The display settings have a tab for each monitor.
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
    Virtual 2304 768
  EndSubSection
EndSection
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
EndSection
CONF

start_x_server Xorg -displayfd 3 -config "$work/xorg.conf" -logfile "$work/xorg.log" -noreset -nolisten tcp
xrandr --addmode DUMMY0 1024x768
xrandr --addmode DUMMY1 1280x720
xrandr --fb 2304x768 --output DUMMY0 --mode 1024x768 --pos 0x0 --output DUMMY1 --mode 1280x720 --pos 1024x0
two_monitors_listed() {
  xrandr --listmonitors | grep -q "^Monitors: 2"
}
wait_until 10 two_monitors_listed || fail "the X server shows $(xrandr --listmonitors | head -1)"
start_wine

wine reg add "$ProgramKey" /v '"PicPos"' /t REG_DWORD /d 1 /f >/dev/null 2>&1 || fail "reg add PicPos"

music_copies() {
  find "$WINEPREFIX/drive_c/users" -path "*/Temp/Nightglass/*" -type f 2>/dev/null
}
while IFS= read -r old; do rm -f "$old"; done < <(music_copies)

xdotool mousemove 500 400
start_saver /s
# The 1920 × 1080 picture fitted to 1024 × 768 is 576 rows high from row 96;
# the bands are rounded out to whole rows.
# Each monitor's device draws its own first picture, one after the other:
# both are checked on one screenshot that shows both.
both_monitors_show_pictures() {
  shot
  shows_picture 0,99 1024,670 && shows_picture 1024,0 2304,720
}
wait_for_program both_monitors_show_pictures ||
  fail "no picture on both monitors, $wait_failure: first $(pixels --stats 0,99 1024,670 4), second $(pixels --stats 1024,0 2304,720 4) (mean black count)"
shows_black 0,0 1024,95 || fail "first monitor: no black band above the picture: $(pixels --stats 0,0 1024,95 4)"
shows_black 0,674 1024,768 || fail "first monitor: no black band below the picture: $(pixels --stats 0,674 1024,768 4)"
shows_picture 1024,0 2304,720 || fail "second monitor: no picture edge to edge: $(pixels --stats 1024,0 2304,720 4)"
pixels --png "$build/e2e-two-monitors.png"
windows=$(helper windows | tr -d '\r' | sort)
[[ $windows == $'window 0 0 1024 768\nwindow 1024 0 2304 720' ]] || fail "saver windows: $windows"

# Each track once, under the name of its place in the list: no second set
# from the second screen's player.
copies=$(music_copies | sed 's|.*/||' | sort | tr '\n' '|')
[[ $copies == "1-Night Garden.wav|2-Dawn Music Box.wav|" ]] || fail "music copies: $copies"

expect_input_counts "the show on two monitors"
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
