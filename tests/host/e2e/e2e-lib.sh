# Sourced by the end-to-end scripts, whose arguments are the build folder,
# the helper, the program, its two test variants (the short show and the
# broken document), the probe and the short show's document writer. Each
# script gets an X server of its own and runs Wine in a prefix of its own, a
# copy of the build folder's end-to-end prefix (made by prepare_prefix.sh),
# whose server it starts on that display; everything it starts ends with it.
set -Eeuo pipefail
# A command that fails outside a check ends the script as the checks do, by
# name and line, rather than silently.
trap 'failed_command $? "$BASH_COMMAND" "${BASH_SOURCE[0]}" "$LINENO"' ERR

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
prepared_prefix="$build/wineprefix-e2e"
[[ -f $prepared_prefix/system.reg ]] || { echo "FAIL: no prefix $prepared_prefix (prepare_prefix.sh)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/nightglass-e2e.XXXXXX")
xserver_pid=""

# Each script runs Wine in a prefix of its own, so that scripts can run side
# by side: a copy of the prepared one, its files hard-linked where the file
# system allows (Wine writes its registry to a new file and renames it, and
# every other file the tests make is new), the registry itself copied.
export WINEPREFIX="$work/prefix"
if ! cp -al "$prepared_prefix" "$WINEPREFIX" 2>/dev/null; then
  rm -rf "$WINEPREFIX"
  cp -a "$prepared_prefix" "$WINEPREFIX"
fi
for hive in system.reg user.reg userdef.reg; do
  if [[ -f $prepared_prefix/$hive ]]; then
    rm -f "$WINEPREFIX/$hive"
    cp -p "$prepared_prefix/$hive" "$WINEPREFIX/$hive"
  fi
done

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
  # What the program wrote and showed last, kept in the build folder.
  local kept="$build/e2e-failure-$(basename "$0" .sh)"
  if [[ -f $work/shot.xwd ]]; then cp "$work/shot.xwd" "$kept.xwd"; fi
  if [[ -f $work/saver.out ]]; then tr -d '\r' <"$work/saver.out" | tail -200 >"$kept.out"; fi
  exit 1
}

failed_command() {
  # A command substitution's failure is told once, by the script.
  [[ $BASHPID == "$$" ]] || return 0
  trap - ERR
  fail "$(basename "$3"):$4: '$2' failed with $1"
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
  rm -f "$work/saver.exit" "$work/saver.pid" "$work/probe.log"
  touch "$work/saver.started"
  (
    # Debug output (+debugstr) carries the program's own word on why a show
    # ended.
    WINEDEBUG="${WINEDEBUG:+$WINEDEBUG,}+debugstr" NIGHTGLASS_PROBE_LOG="Z:$work/probe.log" \
      wine "$@" >"$work/saver.out" 2>&1 &
    echo $! >"$work/saver.pid.new"
    mv "$work/saver.pid.new" "$work/saver.pid"
    wait $!
    # Written whole, then put in place: a reader never sees an empty file.
    echo $? >"$work/saver.exit.new"
    mv "$work/saver.exit.new" "$work/saver.exit"
    # The shell's own word on a program that the clean-up killed stays out of
    # the test's output: saver_state tells what became of the program.
  ) 2>"$work/saver.shell" &
  wait_until 10 test -s "$work/saver.pid" || fail "the program did not start"
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

# The program's own word that input ends the show from now on: before it,
# the show ignores keys, buttons and moves.
input_counts() {
  grep -qa "Nightglass: input counts from now on" "$work/saver.out" 2>/dev/null
}

expect_input_counts() {
  wait_for_program input_counts || fail "input never began to count ($1), $wait_failure"
}

# The saver ends after $2, within $1 seconds of its processor time, and ends
# cleanly.
expect_saver_ends() {
  local code
  wait_for_program_within "${1:-15}" saver_ended || saver_ended || fail "the saver did not end ($2), $wait_failure"
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

# The processor time, in seconds, that the program started last has used
# (Wine runs it in the process started for it); empty once it is gone.
saver_cpu_seconds() {
  local pid fields
  pid=$(cat "$work/saver.pid" 2>/dev/null) || return 0
  fields=$(cut -d')' -f2- "/proc/$pid/stat" 2>/dev/null) || return 0
  # utime and stime: the 12th and 13th fields after the command's name.
  awk -v ticks="$(getconf CLK_TCK)" '{ printf "%.1f\n", ($12 + $13) / ticks }' <<<"$fields"
}

# Loading the demo document is the longest work of a start: every picture
# is decoded and resampled, once for each monitor, before the first frame of
# the show. Its cost is the program's processor time (about 20 s for one
# monitor here, twice that for two), and on a busy machine the wall-clock
# time it takes grows with the load. So the waits on the program are
# measured in its own processor time: a wait fails when the program has used
# its budget of processor time without getting there (a busy loop), or has
# used none for StallSeconds (a hang), and only past WaitBoundSeconds of wall
# clock otherwise.
readonly FirstPictureCpuSeconds=120
readonly StallSeconds=30
readonly WaitBoundSeconds=420

# Runs "$@" every 0.2 s until it succeeds (true), the program ends or its
# processor time says it will not get there (false, with wait_failure saying
# why). $1 is the budget: the processor seconds the program may use from now.
wait_for_program_within() {
  local budget=$1 deadline=$((SECONDS + WaitBoundSeconds)) start_cpu cpu last_cpu="" last_progress=$SECONDS
  shift
  start_cpu=$(saver_cpu_seconds)
  wait_failure=""
  until "$@"; do
    saver_ended && { wait_failure="the program ended"; return 1; }
    cpu=$(saver_cpu_seconds)
    if [[ -n $cpu ]]; then
      if [[ $cpu != "$last_cpu" ]]; then
        last_cpu=$cpu
        last_progress=$SECONDS
      fi
      if awk -v c="$cpu" -v s="${start_cpu:-0}" -v b="$budget" 'BEGIN { exit !(c - s > b) }'; then
        wait_failure="after $budget s of the program's processor time ($cpu s in all)"
        return 1
      fi
    fi
    if ((SECONDS - last_progress > StallSeconds)); then
      wait_failure="the program used no processor time for $StallSeconds s (${last_cpu:-?} s in all)"
      return 1
    fi
    if ((SECONDS > deadline)); then
      wait_failure="after $WaitBoundSeconds s (the program had used ${last_cpu:-?} s of processor time)"
      return 1
    fi
    sleep 0.2
  done
}

# Waits for "$@" as long as a start of the show may take.
wait_for_program() {
  wait_for_program_within "$FirstPictureCpuSeconds" "$@"
}

expect_screen_shows_picture() {
  local what=$1
  shift
  wait_for_program screen_shows_picture "$@" || saver_ended ||
    fail "$what: no picture over $*, $wait_failure: $(pixels --stats "$1" "$2" 4) (mean black count)"
  screen_shows_picture "$@" ||
    fail "$what: the saver ended before it showed a picture, exit code $(cat "$work/saver.exit"):" \
      "$(tail -5 "$work/saver.out" 2>/dev/null)"
}

helper() {
  wine "$helper" "$@"
}
