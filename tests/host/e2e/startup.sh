#!/usr/bin/env bash
# The start of the program, where it must hold against its surroundings:
# the settings of a window that does not exist still show (unowned); a
# d3dx9_43.dll put beside the program is never loaded (the runtime comes from
# the system folder only), and the show plays; another program taking the
# activation while the full-screen show starts does not end it.
source "$(dirname "$0")/e2e-lib.sh"
start_xvfb 800x600

readonly Screen=(0,0 800,600)
readonly NoWindow=987654321

# /c with a window handle that names no window: the settings dialog shows.
start_saver "/c:$NoWindow"
helper dialog Nightglass texts >/dev/null 2>&1 || fail "no settings dialog for /c:$NoWindow"
helper dialog Nightglass click 2 >/dev/null 2>&1 || fail "the settings dialog has no Cancel"
expect_saver_ends 15 "Cancel in the settings dialog of /c:$NoWindow"

# A d3dx9_43.dll beside the program: a module whose start-up code leaves a
# marker file in the temporary folder. The loader is told to prefer a
# native DLL to Wine's own, as Windows would take any DLL it finds.
planted=$build/tools/testmodule/nightglass_test_startup.dll
[[ -f $planted ]] || fail "no module $planted"
mkdir -p "$work/download"
cp "$program" "$work/download/Nightglass.scr"
cp "$planted" "$work/download/d3dx9_43.dll"
temp=$(wine cmd.exe /c echo %TEMP% 2>/dev/null | tr -d '\r')
marker=$(winepath -u "$temp\\nightglass_test_startup_ran" 2>/dev/null)
[[ -n $marker ]] || fail "no temporary folder ($temp)"
rm -f "$marker"
xdotool mousemove 400 300
(
  cd "$work/download"
  WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}d3dx9_43=n,b" start_program "Z:$work/download/Nightglass.scr" /s
)
expect_screen_shows_picture "the show beside a planted d3dx9_43.dll" "${Screen[@]}"
[[ ! -e $marker ]] || fail "the d3dx9_43.dll beside the program was loaded"
helper close || fail "the helper found no saver window to close"
expect_saver_ends 15 "WM_CLOSE"
[[ ! -e $marker ]] || fail "the d3dx9_43.dll beside the program was loaded"

# Another program takes the activation as soon as the show's window is up,
# long before its first frame: the show goes on.
wine "$helper" activate 1500 >"$work/activate.out" 2>&1 &
activator=$!
wait_until 20 grep -q "^waiting" "$work/activate.out" || fail "the helper made no window: $(cat "$work/activate.out")"
start_saver /s
wait "$activator" || fail "the helper saw no saver window: $(cat "$work/activate.out")"
grep -q "^activated" "$work/activate.out" || fail "the helper did not take the activation: $(cat "$work/activate.out")"
expect_screen_shows_picture "the show after another program took the activation" "${Screen[@]}"
sleep 1
saver_runs_on || fail "the show ended after another program took the activation at its start"
helper close || fail "the helper found no saver window to close"
expect_saver_ends 15 "WM_CLOSE"
echo "startup: passed"
