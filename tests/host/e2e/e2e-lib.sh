# Sourced by the end-to-end scripts, whose arguments are the build folder,
# the helper, the program, its two test variants (the short show and the
# broken document), the probe and the short show's document writer. Each
# script gets an X server of its own and runs Wine in the build folder's
# end-to-end prefix (made by prepare_prefix.sh), whose server it restarts on
# that display; everything it starts ends with it.
set -euo pipefail

build=$1
helper=$2
program=$3
shortshow=$4
badscene=$5
probe=$6
shortshow_writer=$7
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# shellcheck source=../../../scripts/env.sh
source "$here/../../../scripts/env.sh"
export WINEPREFIX="$build/wineprefix-e2e"
[[ -f $WINEPREFIX/system.reg ]] || { echo "FAIL: no prefix $WINEPREFIX (prepare_prefix.sh)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/nightglass-e2e.XXXXXX")
xserver_pid=""

# The colour the probe clears its first screen to, and the error box's (the
# window colour) and background.
readonly FirstScreen=20C040
readonly BoxColour=FFFFFF
readonly Black=000000
# The least mean brightness of a picture of the demo document: its night
# pictures are dark, but nowhere black.
readonly PictureBrightness=15
readonly ProgramKey='HKCU\Software\Quillmoor\Glintcraft\Screensaver'

cleanup() {
  # Ends every process of this prefix, the saver among them.
  wineserver -k 2>/dev/null || true
  if [[ -n $xserver_pid ]]; then
    kill "$xserver_pid" 2>/dev/null || true
    wait "$xserver_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# What became of the program started last: it exited (with its code), it
# crashed (Wine reported an unhandled exception), or it is still running and
# what the screen shows. Empty when no program was started.
saver_state() {
  [[ -f $work/saver.started ]] || return 0
  if [[ -f $work/saver.exit ]]; then
    local code
    code=$(cat "$work/saver.exit")
    if grep -qaE "Unhandled (exception|page fault)|wine: .*(crash|exception)" "$work/saver.out" 2>/dev/null; then
      echo "the saver crashed (exit code $code): $(grep -aE 'Unhandled|wine:' "$work/saver.out" | head -3 | tr '\r\n' '  ')"
    else
      echo "the saver exited with code $code"
    fi
  else
    xwd -root -silent -display "$DISPLAY" >"$work/state.xwd" 2>/dev/null || true
    local stats
    stats=$(perl "$here/xwdpixels.pl" "$work/state.xwd" --stats 0,0 "$(screen_size)" 4 2>/dev/null || true)
    local black count
    read -r _ black count <<<"$stats"
    if [[ -n $count ]] && ((count > 0 && black == count)); then
      echo "the saver is alive, showing black"
    else
      echo "the saver is alive, the screen shows (mean black count) $stats"
    fi
  fi
  # Why the program says a show ended, when it said so.
  grep -a "Nightglass:" "$work/saver.out" 2>/dev/null | tr -d '\r' | tail -3 | sed 's/^/  /' || true
}

# The root window's size as "width,height".
screen_size() {
  xwininfo -root -display "$DISPLAY" 2>/dev/null |
    awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "," h }'
}

fail() {
  echo "FAIL: $*" >&2
  saver_state >&2
  if [[ -f $work/shot.xwd ]]; then cp "$work/shot.xwd" "$build/e2e-last-failure.xwd"; fi
  exit 1
}

# Runs "$@" every 0.2 s until it succeeds; false after $1 seconds.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

wait_for_display_number() {
  [[ -s $work/display ]]
}

# Starts the X server "$@", which must take -displayfd 3.
start_x_server() {
  "$@" 3>"$work/display" >"$work/xserver.log" 2>&1 &
  xserver_pid=$!
  wait_until 20 wait_for_display_number || fail "the X server did not start: $(tail -5 "$work/xserver.log")"
  export DISPLAY=":$(head -1 "$work/display")"
}

# Starts Wine's server on the display, once its monitors are set up: a
# running server keeps the monitors of the display it first saw. The
# program's settings start empty.
start_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p
  wine reg delete "$ProgramKey" /f >/dev/null 2>&1 || true
}

start_xvfb() {
  start_x_server Xvfb -displayfd 3 -screen 0 "${1:-800x600}x24" -nolisten tcp -noreset
  start_wine
}

# Starts the program "$1" with the arguments that follow; the probe writes
# its log into the work folder.
start_program() {
  rm -f "$work/saver.exit" "$work/probe.log"
  touch "$work/saver.started"
  (
    # Debug output (+debugstr) carries the program's own word on why a show
    # ended.
    WINEDEBUG="${WINEDEBUG:+$WINEDEBUG,}+debugstr" NIGHTGLASS_PROBE_LOG="Z:$work/probe.log" \
      wine "$@" >"$work/saver.out" 2>&1
    echo $? >"$work/saver.exit"
  ) &
}

start_saver() {
  start_program "$program" "$@"
}

start_probe() {
  start_program "$probe" "$@"
}

saver_ended() {
  [[ -f $work/saver.exit ]]
}

saver_runs_on() {
  ! saver_ended
}

# The saver ends within $1 seconds after $2, and ends cleanly.
expect_saver_ends() {
  local code
  wait_until "${1:-15}" saver_ended || fail "the saver did not end ($2)"
  code=$(cat "$work/saver.exit")
  ((code == 0)) || fail "the saver ended with exit code $code ($2): $(tail -5 "$work/saver.out")"
}

# A line "name value" of the probe's log, once the probe has ended.
probe_value() {
  tr -d '\r' <"$work/probe.log" | awk -v name="$1" '$1 == name { $1 = ""; sub(/^ /, ""); print; exit }'
}

expect_probe_value() {
  local got
  got=$(probe_value "$1")
  [[ $got == "$2" ]] || fail "probe $1: expected '$2', got '$got'"
}

shot() {
  xwd -root -silent -display "$DISPLAY" >"$work/shot.xwd"
}

pixels() {
  perl "$here/xwdpixels.pl" "$work/shot.xwd" "$@"
}

# True when a new screenshot shows colour at every point given.
screen_shows() {
  local colour=$1 got
  shift
  shot
  got=$(pixels "$@" | sort -u)
  [[ $got == "$colour" ]]
}

expect_screen_shows() {
  local colour=$1 what=$2
  shift 2
  wait_until 20 screen_shows "$colour" "$@" || fail "$what: expected $colour at $*, got $(pixels "$@" | tr '\n' ' ')"
}

# Over the rectangle "x0,y0 x1,y1" of the last screenshot (x1, y1
# exclusive), every 4th pixel: true when a picture covers all of it (no black
# pixel) and is not dark as a whole.
shows_picture() {
  local mean black _
  read -r mean black _ <<<"$(pixels --stats "$1" "$2" 4)"
  ((black == 0)) && [[ ${mean%.*} -ge $PictureBrightness ]]
}

# True when the rectangle of the last screenshot is black throughout.
shows_black() {
  local black count
  read -r _ black count <<<"$(pixels --stats "$1" "$2" 4)"
  ((black == count))
}

# A new screenshot; true when it shows a picture over the rectangle.
screen_shows_picture() {
  shot
  shows_picture "$@"
}

# A saver that ended before it drew says so at once, with its exit code and
# the end of its output, rather than after the whole wait.
picture_or_saver_ended() {
  saver_ended || screen_shows_picture "$@"
}

expect_screen_shows_picture() {
  local what=$1
  shift
  wait_until 60 picture_or_saver_ended "$@" ||
    fail "$what: no picture over $*: $(pixels --stats "$1" "$2" 4) (mean black count)"
  screen_shows_picture "$@" ||
    fail "$what: the saver ended before it showed a picture, exit code $(cat "$work/saver.exit"):" \
      "$(tail -5 "$work/saver.out" 2>/dev/null)"
}

helper() {
  wine "$helper" "$@"
}
