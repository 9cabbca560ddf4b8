# Sourced by the scripts: the Wine environment of a build folder.
# Expects $build to be set.
export WINEPREFIX="$build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# ALSA's null device lives in this HOME's .asoundrc.
export HOME="$build/winehome"
