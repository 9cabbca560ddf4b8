#!/usr/bin/env bash
# Sound and music in the test window. With the ALSA null device (the HOME of
# scripts/env.sh) the demo document's first music track is written to the
# program's folder under the temporary folder, whole, under the name of its
# place in the list, and plays while its slides show, and closing the window
# releases the music's graph and the sound device so that the program ends
# cleanly. Without a sound device (a HOME without the null device) the show
# runs just the same, silent, and ends cleanly too.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

# The end takes the music's graph and its streaming threads down too: a few
# seconds, and more on a busy machine.
readonly EndSeconds=30

readonly Client=(50,50 650,450)
readonly Track="1-Night Garden.wav"

temp_tracks() {
  find "$WINEPREFIX/drive_c/users" -path "*/Temp/Nightglass/$Track" 2>/dev/null
}

# The track as written: the whole WAV file the document embeds.
track_written() {
  local file
  file=$(temp_tracks | head -1)
  [[ -n $file ]] && (($(stat -c %s "$file") > 1000000)) && [[ $(head -c 12 "$file" | tail -c 4) == WAVE ]]
}

while IFS= read -r old; do rm -f "$old"; done < <(temp_tracks)

start_saver /t
expect_screen_shows_picture "the show with sound" "${Client[@]}"
wait_until 20 track_written || fail "the first music track was not written to the temporary folder"
sleep 3
saver_runs_on || fail "the show with sound ended by itself"
helper close || fail "no saver window to close"
expect_saver_ends "$EndSeconds" "closing the test window while the music plays"

mkdir -p "$work/home-without-sound"
HOME="$work/home-without-sound" start_saver /t
expect_screen_shows_picture "the show without a sound device" "${Client[@]}"
sleep 3
saver_runs_on || fail "the show without a sound device ended by itself"
screen_shows_picture "${Client[@]}" || fail "the show without a sound device stopped drawing"
helper close || fail "no saver window to close"
expect_saver_ends "$EndSeconds" "closing the test window without a sound device"
echo "sound: passed"
