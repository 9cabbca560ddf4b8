#!/usr/bin/env bash
# The short show (a test variant of the program with two slides of flat
# colour) in the test window: the first slide shows at once for its display
# time of 3 s, then fades to black over 3 s, and the second fades in from
# black over 3 s. The show's document is also checked against its writer.
source "$(dirname "$0")/e2e-lib.sh"

wine "$shortshow_writer" "Z:$work/shortshow.dds" >/dev/null 2>&1 || fail "the short show's writer failed"
cmp -s "$work/shortshow.dds" "$here/shortshow/scene.dds" ||
  fail "shortshow/scene.dds is not what e2e_shortshow writes: run it on that file and commit the result"

start_xvfb 800x600

# The two slides' colours (as e2e_shortshow writes them) at full strength.
readonly First=E0A040
readonly Second=40A0E0

# A letter per colour of the client area's centre: the first or second
# slide's colour in full (A, B) or darkened by the fade (a, b), black or
# nearly (K), anything else (?).
classify() {
  local r=$((16#${1:0:2})) g=$((16#${1:2:2})) b=$((16#${1:4:2}))
  if [[ $1 == "$First" ]]; then echo A
  elif [[ $1 == "$Second" ]]; then echo B
  elif ((r <= 0x30 && g <= 0x30 && b <= 0x30)); then echo K
  elif ((r > g && g > b)); then echo a
  elif ((b > g && g > r)); then echo b
  else echo '?'
  fi
}

# Milliseconds on the wall clock.
now_ms() {
  local t=${EPOCHREALTIME/./}
  echo $((t / 1000))
}

start_program "$shortshow" /t
# The slide fills the client area: its colour at the corners and the centre.
expect_screen_shows "$First" "the first slide" 50,50 649,50 50,449 649,449 350,250
shown=$(now_ms)

# The centre's letters, a screenshot at a time, until the second slide is
# there in full; and when the fade first darkened the first slide and when
# the second was in full, in milliseconds after the first was seen.
timeline=""
darkened=""
second_full=""
while (($(now_ms) - shown < 20000)); do
  shot
  letter=$(classify "$(pixels 350,250)")
  timeline+=$letter
  [[ $letter == a && -z $darkened ]] && darkened=$(($(now_ms) - shown))
  if [[ $letter == B ]]; then second_full=$(($(now_ms) - shown)); break; fi
  sleep 0.1
done
runs=$(tr -s 'AaKbB?' <<<"$timeline")
[[ $runs =~ ^A+a+K+b+B$ ]] || fail "expected the first slide, its fade to black, the second fading in; saw $timeline"
# 3 s of display before the fade and 9 s until the second slide is in full,
# seen late by as much as a screenshot or two takes on a busy machine.
((darkened >= 1500 && darkened <= 4500)) || fail "the fade began $darkened ms after the first slide showed"
((second_full >= 7000 && second_full <= 12000)) || fail "the second slide was in full after $second_full ms"
[[ $(pixels 50,50 649,50 50,449 649,449 | sort -u) == "$Second" ]] || fail "the second slide does not fill the window"

helper close || fail "no saver window to close"
expect_saver_ends 15 "closing the test window"
echo "slides: passed ($timeline; fade from $darkened ms, second slide at $second_full ms)"
