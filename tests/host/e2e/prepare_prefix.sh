#!/usr/bin/env bash
# Makes the end-to-end tests' Wine prefix, a copy of the build folder's. Its
# own server can then follow the tests' X servers without disturbing the
# tests that run meanwhile on the build folder's prefix. The copy is made
# again whenever the setup changed since it was made (the setup script's
# stamp differs) or it still holds a crash debugger: a crash would then wait
# in the debugger, a frozen screen to the tests, instead of ending.
set -euo pipefail
build=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_prefix="$build/wineprefix"
target="$build/wineprefix-e2e"
[[ -f $source_prefix/system.reg ]] || { echo "FAIL: no prefix $source_prefix" >&2; exit 1; }
stamp=$(sha1sum "$here/../../../scripts/setup" | cut -d' ' -f1)

# True when the prefix's registry names a crash debugger.
has_crash_debugger() {
  awk '/^\[/ { inside = ($0 ~ /^\[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\AeDebug\]/) }
       inside && /^"Debugger"=/ { found = 1 } END { exit !found }' "$1/system.reg"
}

if [[ -f $target/system.reg ]] && [[ $(cat "$target/.nightglass-setup" 2>/dev/null) == "$stamp" ]] &&
  ! has_crash_debugger "$target"; then
  exit 0
fi
if has_crash_debugger "$source_prefix"; then
  echo "FAIL: $source_prefix still has a crash debugger (run scripts/setup)" >&2
  exit 1
fi
# No server may hold the old copy open while it goes.
WINEPREFIX="$target" wineserver -k 2>/dev/null || true
rm -rf "$target.new" "$target.old"
cp -a "$source_prefix" "$target.new"
echo "$stamp" >"$target.new/.nightglass-setup"
[[ -d $target ]] && mv "$target" "$target.old"
mv "$target.new" "$target"
rm -rf "$target.old"
echo "prepared $target"
