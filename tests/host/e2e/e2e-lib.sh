# Sourced by the end-to-end scripts, whose arguments are the probe, the
# helper and the build folder. Each script gets an X server of its own and
# runs Wine in the build folder's end-to-end prefix (made by
# prepare_prefix.sh), whose server it restarts on that display; everything it
# starts ends with it.
set -euo pipefail

probe=$1
helper=$2
build=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# shellcheck source=../../../scripts/env.sh
source "$here/../../../scripts/env.sh"
export WINEPREFIX="$build/wineprefix-e2e"
[[ -f $WINEPREFIX/system.reg ]] || { echo "FAIL: no prefix $WINEPREFIX (prepare_prefix.sh)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/nightglass-e2e.XXXXXX")
xserver_pid=""
saver_runs=0

# The colours the probe clears its first and second screen to, and the
# error box's (the window colour) and background.
readonly FirstScreen=20C040
readonly SecondScreen=C04020
readonly BoxColour=FFFFFF
readonly Black=000000
readonly ProgramKey='HKCU\Software\Quillmoor\Glintcraft\Screensaver'

cleanup() {
  # Ends every process of this prefix, the probe among them.
  wineserver -k 2>/dev/null || true
  if [[ -n $xserver_pid ]]; then
    kill "$xserver_pid" 2>/dev/null || true
    wait "$xserver_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
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

# Starts the probe with the arguments given; NIGHTGLASS_PROBE_* pass on.
start_saver() {
  saver_runs=$((saver_runs + 1))
  rm -f "$work/saver.exit" "$work/probe.log"
  (
    NIGHTGLASS_PROBE_LOG="Z:$work/probe.log" wine "$probe" "$@" >"$work/saver.out" 2>&1
    echo $? >"$work/saver.exit"
  ) &
}

saver_ended() {
  [[ -f $work/saver.exit ]]
}

saver_runs_on() {
  ! saver_ended
}

expect_saver_ends() {
  wait_until "${1:-15}" saver_ended || fail "the saver did not end ($2)"
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

helper() {
  wine "$helper" "$@"
}
