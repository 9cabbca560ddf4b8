#!/usr/bin/env bash
# /p <window>: the preview fills a parent window that another program made,
# ignores input and ends when the parent is destroyed. This Wine shows
# nothing that Direct3D draws into a child window, so what a preview draws
# is read from its back buffer by the probe, which runs as a preview too.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

# Runs "$1" as the preview of a parent at (100, 100) with a 320 × 240 client
# area made by the helper; "$2" says whether to try input that would end the
# full-screen show. The helper's report is in $work/helper.out.
run_preview() {
  rm -f "$work/destroy" "$work/probe.log"
  NIGHTGLASS_PROBE_LOG="Z:$work/probe.log" wine "$helper" preview "Z:$1" "Z:$work/destroy" \
    >"$work/helper.out" 2>&1 &
  local parent=$!
  wait_until 20 grep -q "^parent" "$work/helper.out" || fail "the helper made no parent: $(cat "$work/helper.out")"
  sleep 2
  if [[ $2 == input ]]; then
    xdotool mousemove 200 200 click 1 key space
    for x in 210 220 230 240 250 260 270; do xdotool mousemove "$x" 200; done
    sleep 1
    grep -q "^saver" "$work/helper.out" && fail "input ended the preview: $(cat "$work/helper.out")"
  fi
  touch "$work/destroy"
  wait "$parent" || fail "the preview did not end with its parent: $(cat "$work/helper.out")"
  sed -i 's/\r$//' "$work/helper.out"
  grep -q "^child 320 240$" "$work/helper.out" || fail "no child over the parent's client area: $(cat "$work/helper.out")"
  grep -q "^saver ended$" "$work/helper.out" || fail "helper: $(cat "$work/helper.out")"
}

run_preview "$program" input

run_preview "$probe" quiet
expect_probe_value mode 1
expect_probe_value devices 1
expect_probe_value backbuffer "320x240 $FirstScreen"
frames=$(probe_value frames)
((frames > 10)) || fail "the preview drew $frames frames"
echo "preview: passed"
