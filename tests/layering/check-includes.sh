#!/usr/bin/env bash
# Fails when a source file includes a header of a layer it may not use, or
# when a core layer includes a Qt header.
set -u
root=${1:?usage: check-includes.sh SOURCE_DIR}
cd "$root/src" || exit 2

declare -A allowed=(
  [platform]="platform"
  [model]="model platform"
  [casefile]="casefile model platform"
  [analysis]="analysis casefile model platform"
  [series]="series analysis casefile model platform"
  [image]="image platform"
  [interaction]="interaction model platform"
  [session]="session interaction analysis casefile image model platform"
  [imageio]="imageio image platform"
  [report]="report series imageio analysis casefile model image platform"
  [shell]="shell session model casefile analysis series image interaction imageio report platform"
  [app]="app shell session model casefile analysis series image interaction imageio report platform"
)
core="platform model casefile analysis series image interaction session"

bad=0
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS= read -r file; do
    while IFS= read -r inc; do
      target=${inc%%/*}
      if [ -d "$target" ] && [[ " ${allowed[$layer]} " != *" $target "* ]]; then
        echo "$layer/$file includes \"$inc\" of layer $target, which $layer may not use"
        bad=1
      fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]\([^">]*\)[">].*/\1/p' "$layer/$file")
    if [[ " $core " == *" $layer "* ]] &&
       grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$layer/$file" >/dev/null; then
      echo "$layer/$file includes a Qt header; the core stays free of Qt"
      bad=1
    fi
  done < <(cd "$layer" && find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||')
done

[ $bad -eq 0 ] && echo "include rules hold"
exit $bad
