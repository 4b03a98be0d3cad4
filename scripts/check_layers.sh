#!/usr/bin/env bash
# Checks that the folders under src/ include each other only downward, in the order of the layers
# below, and that only the shell (and the audio device) touch SDL. Prints each offending file with
# its include and exits 1 when any is found. Usage: check_layers.sh [SRC_DIR]
set -uo pipefail
src=${1:-"$(dirname "$0")/../src"}

# One line per layer, top to bottom. Folders on one line may include each other one way only.
LAYERS=(
  "main.cpp"
  "platform"
  "game"
  "runfile"
  "screens combat camp shrine levelup classes boons profile"
  "render"
  "dungeon"
  "items"
  "services"
  "telemetry"
  "saves"
  "sound"
  "world"
)
# Folders that may include SDL: the shell, and the sound module that feeds the audio device.
SDL_FOLDERS=" main.cpp platform sound "

declare -A rank
for i in "${!LAYERS[@]}"; do
  for f in ${LAYERS[$i]}; do rank[$f]=$i; done
done

fail=0
declare -A edge
while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  from=${rel%%/*}
  if [ -z "${rank[$from]+x}" ]; then
    echo "$rel: folder '$from' has no layer; add it to scripts/check_layers.sh and docs/modules.md"
    fail=1
    continue
  fi
  while IFS= read -r line; do
    inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]+)[">].*/\1/' <<<"$line")
    case $inc in
      SDL*|*/SDL.h|*/SDL_*.h)
        if [[ $SDL_FOLDERS != *" $from "* ]]; then
          echo "$rel: game logic includes <$inc>"
          fail=1
        fi
        continue ;;
    esac
    [[ $inc == */* ]] || continue
    to=${inc%%/*}
    [ -n "${rank[$to]+x}" ] || continue
    [ "$to" = "$from" ] && continue
    if (( rank[$to] < rank[$from] )); then
      echo "$rel: includes \"$inc\", from a layer above ($from may not include $to)"
      fail=1
    fi
    edge["$from>$to"]="$rel includes \"$inc\""
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

# Folders of one layer: a pair that includes each other both ways is a cycle.
for key in "${!edge[@]}"; do
  a=${key%%>*}; b=${key##*>}
  if [[ $a < $b && -n "${edge[$b>$a]+x}" ]]; then
    echo "$a and $b include each other: ${edge[$key]}; ${edge[$b>$a]}"
    fail=1
  fi
done
exit $fail
