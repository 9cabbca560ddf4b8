#!/usr/bin/env bash
# Makes the end-to-end tests' Wine prefix, a copy of the build folder's, once.
# Its own server can then follow the tests' X servers without disturbing the
# tests that run meanwhile on the build folder's prefix.
set -euo pipefail
build=$1
source_prefix="$build/wineprefix"
target="$build/wineprefix-e2e"
[[ -f $target/system.reg ]] && exit 0
[[ -f $source_prefix/system.reg ]] || { echo "FAIL: no prefix $source_prefix" >&2; exit 1; }
rm -rf "$target.new"
cp -a "$source_prefix" "$target.new"
mv "$target.new" "$target"
