# Sourced by the scripts: the Wine environment of a build folder, as
# cmake/wine.env defines it. Expects $build to be set. A WINEDEBUG already
# set is kept.
while IFS= read -r line; do
  [[ -z $line || $line == \#* ]] && continue
  name=${line%%=*}
  value=${line#*=}
  value=${value//\{build\}/$build}
  if [[ $name == WINEDEBUG && -n ${WINEDEBUG:-} ]]; then
    continue
  fi
  export "$name=$value"
done <"$(dirname "${BASH_SOURCE[0]}")/../cmake/wine.env"
unset line name value
