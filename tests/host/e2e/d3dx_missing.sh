#!/usr/bin/env bash
# A fresh Windows has no D3DX runtime (d3dx9_43.dll), hidden here from the
# program by a DLL override: the program starts all the same and says so in
# its own words (text 2101): a message box for the settings and the moving
# error box in the show (and over the whole preview, as the show's box).
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

readonly MissingText="Direct3D 8.0 could not be initialized.  Please install the latest version of DirectX."
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;d3dx9_43="
readonly IDOK=1

# The box as the helper paints it with the text, $1 × $2 pixels, in a window
# that never held a Direct3D device (the program made none): its mask into
# file $3.
sample_box() {
  rm -f "$work/box-done"
  wine "$helper" showbox "$MissingText" "Z:$work/box-done" "$1" "$2" plain >/dev/null 2>&1 &
  local sampler=$!
  wait_until 20 sample_shown "$1" "$2" || fail "the helper showed no box"
  pixels --mask 0,0 "$1" "$2" >"$3"
  touch "$work/box-done"
  wait "$sampler" || fail "the helper's box failed"
}

sample_shown() {
  shot
  [[ $(pixels --box "$BoxColour") == "1 1 $(($1 - 1)) $(($2 - 1)) "* ]]
}

# True when a new screenshot shows the box of mask file $1 ($2 × $3 pixels)
# with its frame's top left corner at the first window-coloured pixel less
# one.
box_reads() {
  local x0 y0
  shot
  read -r x0 y0 _ <<<"$(pixels --box "$BoxColour")"
  [[ $x0 != none ]] && [[ $(pixels --mask "$((x0 - 1)),$((y0 - 1))" "$2" "$3") == "$(cat "$1")" ]]
}

# Settings: the message box, and the program ends when it is closed.
start_saver /c
texts=$(helper dialog Nightglass texts 2>/dev/null | tr -d '\r')
grep -qF "$MissingText" <<<"$texts" || fail "the settings mode showed: $texts"
helper dialog Nightglass click "$IDOK" >/dev/null 2>&1 || fail "the message box has no OK button"
expect_saver_ends 15 "the message box closed"

# The show: the moving box, which still ends on a key.
sample_box 300 150 "$work/show-mask"
xdotool mousemove 400 300
start_saver /s
wait_for_program box_reads "$work/show-mask" 300 150 || fail "the show's box does not read the text 2101, $wait_failure"
expect_input_counts "the error box of the show"
xdotool key space
expect_saver_ends 15 "a key press over the error box"

# The preview: this Wine shows nothing that a child window of another
# process paints, so only its life is watched here: it runs without D3DX
# until its parent goes, and then ends.
rm -f "$work/destroy"
wine "$helper" preview "Z:$program" "Z:$work/destroy" >"$work/helper.out" 2>&1 &
parent=$!
wait_until 20 grep -q "^parent" "$work/helper.out" || fail "the helper made no parent: $(cat "$work/helper.out")"
sleep 2
touch "$work/destroy"
wait "$parent" || fail "the preview did not run until its parent went: $(cat "$work/helper.out")"
sed -i 's/\r$//' "$work/helper.out"
grep -q "^child 320 240$" "$work/helper.out" || fail "no preview over the parent: $(cat "$work/helper.out")"
echo "D3DX missing: passed"
