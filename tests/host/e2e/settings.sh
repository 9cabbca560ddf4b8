#!/usr/bin/env bash
# The settings as another program (here `wine reg`) leaves them in the
# registry, read by the probe, which reports what it read: a fresh user gets
# the key, its "Screen 1" subkey and the defaults; stored values are read,
# out-of-range ones clamped; a monitor set to "Leave Black" gets no device and
# stays black.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

run_noop() {
  start_probe /r
  expect_saver_ends 30 "the no-op mode"
}

set_dword() {
  wine reg add "$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1 || fail "reg add $2"
}

run_noop
wine reg query "$ProgramKey" >/dev/null 2>&1 || fail "a first run did not create the key"
wine reg query "$ProgramKey\\Screen 1" >/dev/null 2>&1 || fail "a first run did not create \"Screen 1\""
expect_probe_value PicPos 2
expect_probe_value SoundVolume 100
expect_probe_value SoundBalance 50
expect_probe_value MuteSound 0

set_dword "$ProgramKey" '"PicPos"' 1
set_dword "$ProgramKey" '"SoundVolume"' 40
set_dword "$ProgramKey" '"SoundBalance"' 500
set_dword "$ProgramKey" '"MuteSound"' 1
set_dword "$ProgramKey" AllScreensSame 1
wine reg query "$ProgramKey" /v '"PicPos"' 2>/dev/null | tr -d '\r' | grep -q '^ *"PicPos" *REG_DWORD *0x1$' ||
  fail "the value name \"PicPos\" did not keep its quotes"
run_noop
expect_probe_value PicPos 1
expect_probe_value SoundVolume 40
expect_probe_value SoundBalance 100
expect_probe_value MuteSound 1
expect_probe_value AllScreensSame 1

set_dword "$ProgramKey" '"PicPos"' 9
run_noop
expect_probe_value PicPos 2

set_dword "$ProgramKey\\Screen 1" "Leave Black" 1
xdotool mousemove 400 300
start_probe /s
expect_input_counts "a show with its one monitor left black"
shot
[[ $(pixels 0,0 799,0 0,599 799,599 400,300 | sort -u) == "$Black" ]] || fail "a monitor left black shows something"
saver_runs_on || fail "the show ended by itself"
xdotool key space
expect_saver_ends 15 "a key press on the black screen"
expect_probe_value devices 0
expect_probe_value windows 1
echo "settings: passed"
