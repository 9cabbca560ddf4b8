#!/usr/bin/env bash
# The settings dialogs of /c, worked from outside through their controls: the
# settings dialog shows its controls; Cancel stores no picture position, OK
# stores the chosen one and the next show places its pictures by it; the
# sound dialog stores volume and mute; the display-settings dialog lists the
# adapter's modes after "Automatic" and stores the chosen one; the "Website"
# button starts the browser registered for http (a stand-in that records its
# command line) with the address intact whatever else the command holds; /n
# shows nothing; and /c:<window> makes the dialog that window's modal child.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

readonly Settings=Nightglass
readonly Sound="Sound Settings"
readonly Display="Display Settings"
readonly Address='https://nightglass.example.org/?utm_source=screensaver&utm_medium=website&utm_campaign=customer_content&utm_nooverride=1'
readonly BrowserKey='HKCR\http\shell\open\command'

dialog() {
  helper dialog "$@" 2>"$work/dialog.err" | tr -d '\r' || echo "(the helper failed: $(cat "$work/dialog.err"))"
}

# Works the dialog, failing the test when the helper cannot.
act() {
  helper dialog "$@" >/dev/null 2>&1 || fail "dialog $*"
}

# What `reg query "$@"` shows, or nothing when the key or value is absent.
reg_query() {
  wine reg query "$@" 2>/dev/null | tr -d '\r' || true
}

# The value's data as `reg query` shows it (0x1 for a DWORD of 1), or
# nothing when it is absent.
reg_value() {
  reg_query "$1" /v "$2" | awk -v name="$2" '$1 == name { print $3 }'
}

expect_reg_value() {
  local got
  got=$(reg_value "$1" "$2")
  [[ $got == "$3" ]] || fail "$2 under $1: expected '$3', got '$got'"
}

# The line of the dialog's texts for control $2, or item lines with $3.
expect_line() {
  grep -qxF -- "$2" <<<"$1" || fail "expected the line '$2' among: $1"
}

start_settings() {
  start_saver /c
  act "$Settings" wait
}

# --- The settings dialog as it opens, and Cancel.
start_settings
texts=$(dialog "$Settings" texts)
expect_line "$texts" $'caption\tNightglass'
expect_line "$texts" $'1\tButton\t-\tOK'
expect_line "$texts" $'2\tButton\t-\tCancel'
expect_line "$texts" $'-1\tButton\t-\tImage Settings'
expect_line "$texts" $'-1\tStatic\t-\tPicture position:'
expect_line "$texts" $'1023\titem\t0\tStretch'
expect_line "$texts" $'1023\titem\t1\tFit'
expect_line "$texts" $'1023\titem selected\t2\tFill'
expect_line "$texts" $'1006\tButton\t-\t&Display Settings...'
expect_line "$texts" $'1007\tButton\t-\t&Sound Settings...'
expect_line "$texts" $'1017\tButton\t-\tWebsite'
expect_line "$texts" $'-1\tButton\t-\tInformation'
# The dialog is drawn: the OK button's face with its dark label and frame.
read -r left top right bottom <<<"$(dialog "$Settings" rect 1)"
shot
perl "$here/xwdpixels.pl" "$work/shot.xwd" --png "$build/e2e-settings-dialog.png"
read -r mean black count <<<"$(pixels --stats "$left,$top" "$right,$bottom" 1)"
((${mean%.*} > 120)) || fail "the OK button is not drawn (mean brightness $mean)"
[[ $(pixels --mask "$((left + 1)),$((top + 1))" $((right - left - 2)) $((bottom - top - 2)) | grep -c '#') -gt 0 ]] ||
  fail "the OK button has no label"

act "$Settings" click 2
expect_saver_ends 15 "Cancel in the settings dialog"
[[ -z $(reg_value "$ProgramKey" '"PicPos"') ]] || fail "Cancel stored a picture position"
[[ -z $(reg_value "$ProgramKey" '"SoundVolume"') ]] || fail "Cancel stored a volume"
# What was read at start is stored again as the dialog opens.
expect_reg_value "$ProgramKey\\Screen 1" Width 0x0

# --- OK stores the chosen picture position, which the next dialog shows.
start_settings
act "$Settings" select 1023 Fit
act "$Settings" click 1
expect_saver_ends 15 "OK in the settings dialog"
expect_reg_value "$ProgramKey" '"PicPos"' 0x1

# --- The sound dialog: loudest at the top; OK stores what it shows even when
# the settings dialog is then cancelled.
start_settings
expect_line "$(dialog "$Settings" texts)" $'1023\titem selected\t1\tFit'
act "$Settings" click 1007
texts=$(dialog "$Sound" texts)
expect_line "$texts" $'1021\tposition\t0'
expect_line "$texts" $'1022\tButton\t-\tMute'
expect_line "$texts" $'-1\tButton\t-\tVolume'
act "$Sound" slide 1021 30
act "$Sound" click 1022
act "$Sound" click 1
act "$Sound" gone
act "$Settings" click 2
expect_saver_ends 15 "Cancel after the sound dialog"
expect_reg_value "$ProgramKey" '"SoundVolume"' 0x46
expect_reg_value "$ProgramKey" '"MuteSound"' 0x1
expect_reg_value "$ProgramKey" '"SoundBalance"' 0x0

start_settings
act "$Settings" click 1007
texts=$(dialog "$Sound" texts)
expect_line "$texts" $'1021\tposition\t30'
expect_line "$texts" $'1022\tButton\tchecked\tMute'
act "$Sound" click 2
act "$Sound" gone

# --- The display-settings dialog of the one adapter: "Automatic", then the
# modes; the chosen one is stored by the settings dialog's OK.
act "$Settings" click 1006
texts=$(dialog "$Display" texts)
expect_line "$texts" $'2003\tStatic\t-\tThe screen saver can use hardware 3D rendering on this monitor.'
expect_line "$texts" $'2011\titem selected\t0\tAutomatic'
name=$(awk -F'\t' '$1 == 2002 { print $4 }' <<<"$texts")
[[ -n $name ]] || fail "no adapter name in the display settings"
# This display lists its desktop mode, maybe more.
modes=$(awk -F'\t' '$1 == 2011 && $2 ~ /^item/ && $3 > 0 { print $4 }' <<<"$texts")
grep -qxF "800 by 600, 32 bit color" <<<"$modes" || fail "display modes: $modes"
grep -qvE '^[0-9]+ by [0-9]+, (16|32) bit color$' <<<"$modes" && fail "display modes: $modes"
# Help tells what the adapter can do, in a message box titled with its name.
act "$Display" click 2004
help_text='This video adapter supports hardware 3D rendering.  This screen saver can be displayed on this monitor.'
expect_line "$(dialog "$name" texts)" $'65535\tStatic\t-\t'"$help_text"
act "$name" click 1
act "$name" gone
act "$Display" select 2011 "800 by 600, 32 bit color"
act "$Display" click 1
act "$Display" gone
act "$Settings" click 1
expect_saver_ends 15 "OK after the display settings"
expect_reg_value "$ProgramKey\\Screen 1" Width 0x320
expect_reg_value "$ProgramKey\\Screen 1" Height 0x258
expect_reg_value "$ProgramKey\\Screen 1" Format 0x16

# --- The show places its pictures as the dialog chose: Fit puts the first
# slide's wide picture between black bands on this 4:3 screen.
xdotool mousemove 400 300
start_saver /s
expect_screen_shows_picture "the show with Fit" 0,120 800,480
shows_black 0,0 800,60 || fail "no black band above the fitted picture: $(pixels --stats 0,0 800,60 4)"
shows_black 0,540 800,600 || fail "no black band below the fitted picture: $(pixels --stats 0,540 800,600 4)"
expect_input_counts "the show with Fit"
xdotool key space
expect_saver_ends 15 "a key press"

# --- The website button, with a registered browser command full of '%'
# sequences that mean nothing to the program.
original_browser=$(reg_query "$BrowserKey" /ve | sed -n 's/^ *(Default) *REG_[A-Z_]*SZ *//p')
restore_browser() {
  if [[ -n $original_browser ]]; then
    wine reg add "$BrowserKey" /ve /d "$original_browser" /f >/dev/null 2>&1 || true
  fi
}
# The browser command is put back however the script ends.
trap 'restore_browser; cleanup' EXIT
register_browser() {
  wine reg add "$BrowserKey" /ve /d "$1" /f >/dev/null 2>&1 || fail "registering the browser command"
  local stored
  stored=$(reg_query "$BrowserKey" /ve | sed -n 's/^ *(Default) *REG_SZ *//p')
  [[ $stored == "$1" ]] || fail "the browser command was stored as '$stored'"
}
browser_log_written() {
  [[ -s $1 ]]
}
browser=$(winepath -w "$helper" 2>/dev/null | tr -d '\r')

register_browser "\"$browser\" browser Z:$work/browser1.log %L %* %s%s%n%% -url \"%1\""
start_settings
act "$Settings" click 1017
wait_until 20 browser_log_written "$work/browser1.log" || fail "the browser did not start"
line=$(tr -d '\r' <"$work/browser1.log" | sed -n 's/^line //p')
last=$(tr -d '\r' <"$work/browser1.log" | sed -n 's/^last //p')
[[ $line == *" browser Z:$work/browser1.log %L %* %s%s%n%% -url \"$Address\"" ]] ||
  fail "the browser's command line: $line"
[[ $last == "$Address" ]] || fail "the browser was given '$last'"

# Without a placeholder the address goes after a blank.
register_browser "\"$browser\" browser Z:$work/browser2.log %L %*"
act "$Settings" click 1017
wait_until 20 browser_log_written "$work/browser2.log" || fail "the browser did not start"
line=$(tr -d '\r' <"$work/browser2.log" | sed -n 's/^line //p')
[[ $line == *" browser Z:$work/browser2.log %L %* $Address" ]] ||
  fail "the browser's command line without a placeholder: $line"
restore_browser
act "$Settings" click 2
expect_saver_ends 15 "Cancel after the website"

# --- The extra dialog of /n has no template: nothing shows and the program
# ends.
start_saver /n
expect_saver_ends 15 "/n"

# --- /c:<window>: the dialog is owned by that window and keeps it disabled
# until it closes.
touch "$work/configure.signal"
owner=$(helper configure "$program" "Z:$work/configure.signal" 2>/dev/null | tr -d '\r') ||
  fail "the settings dialog of /c:<window>: $owner"
[[ $owner == $'owner given window\ngiven window disabled\nsaver ended\ngiven window after enabled' ]] ||
  fail "the settings dialog of /c:<window>: $owner"
echo "dialogs: passed"
