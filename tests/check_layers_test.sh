#!/usr/bin/env bash
# The layer check on small planted trees: a clean tree passes; an upward include, SDL in game
# logic, a folder with no layer and two sibling folders that include each other each fail and
# are named in the output.
set -u
script="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bad=0

tree() {  # a fresh minimal tree that follows the layers
  rm -rf "$work/src"
  mkdir -p "$work/src/world" "$work/src/items" "$work/src/game" "$work/src/platform" "$work/src/combat" "$work/src/camp"
  printf '#pragma once\n' >"$work/src/world/player.h"
  printf '#include "world/player.h"\n' >"$work/src/items/bag.cpp"
  printf '#include "items/bag.h"\n#include "world/player.h"\n' >"$work/src/game/tick.cpp"
  printf '#include <SDL.h>\n#include "game/state.h"\n' >"$work/src/platform/shell.cpp"
  printf '#include "camp/camp.h"\n' >"$work/src/combat/loot.cpp"
}

expect() {  # expect PASS|FAIL, and for a failure a text the report must contain
  local want=$1 text=${2:-}
  out=$("$script" "$work/src" 2>&1); rc=$?
  if [ "$want" = PASS ] && [ $rc -ne 0 ]; then echo "clean tree refused:"; echo "$out"; bad=1; fi
  if [ "$want" = FAIL ]; then
    if [ $rc -eq 0 ]; then echo "not refused: $text"; bad=1
    elif ! grep -qF -- "$text" <<<"$out"; then echo "report lacks '$text':"; echo "$out"; bad=1; fi
  fi
}

tree; expect PASS
tree; printf '#include "game/state.h"\n' >>"$work/src/items/bag.cpp"; expect FAIL 'items/bag.cpp: includes "game/state.h"'
tree; printf '#include <SDL.h>\n' >>"$work/src/game/tick.cpp"; expect FAIL 'game/tick.cpp: game logic includes <SDL.h>'
tree; printf '#include <SDL2/SDL_audio.h>\n' >>"$work/src/items/bag.cpp"; expect FAIL 'items/bag.cpp: game logic includes'
tree; mkdir -p "$work/src/extras"; printf '\n' >"$work/src/extras/x.cpp"; expect FAIL "folder 'extras' has no layer"
tree; printf '#include "combat/loot.h"\n' >"$work/src/camp/camp.cpp"; expect FAIL 'camp and combat include each other'
exit $bad
