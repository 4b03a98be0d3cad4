#!/usr/bin/env bash
# Photographs the real game's console case under a virtual X display: every case model (F5) in
# both orientations (F3), in three case colours, with a button held in some shots, over the still
# play-stats question a new player meets on the title, and gathers the pictures into
# docs/case_screenshots.png. Needs xvfb-run, xdotool and ImageMagick, and a built build/quillmarch.
# Usage: scripts/case_shots.sh [OUT_PNG]
# Fails, leaving OUT_PNG as it was, when a photograph is missing, blank or in the wrong orientation.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sheet_tiles.sh
out_png=${1:-docs/case_screenshots.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -n "${KEEP_SHOTS:-}" ] && trap - EXIT && echo "shots in $work"

cat >"$work/inner.sh" <<'INNER'
#!/usr/bin/env bash
set -u
bin=$1 work=$2 colour=$3 tag=$4
export HOME="$work/home-$tag" XDG_DATA_HOME="$work/home-$tag/data" SDL_AUDIODRIVER=dummy
# The game must open a real window on the virtual display: a dummy video driver left over from a
# test run would give black pictures.
unset SDL_VIDEODRIVER SDL_RENDER_DRIVER
mkdir -p "$HOME"
"$bin" --case "$colour" 2>"$work/err-$tag" &
pid=$!
sleep 2
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep "${2:-0.6}"; }
# Past the power-on screen and the splash to the title, where a new player is asked about play
# stats. The question is left unanswered: under it nothing moves, so an unchanged game gives the
# same photographs on every run (the dungeon's torches and the title's embers never hold still).
press Return 1.0
press Return 1.0
sleep 3
# A turned window keeps its corner, so it is moved back on screen before each picture.
shot() {
  for w in $(xdotool search --pid "$pid" 2>/dev/null); do xdotool windowmove "$w" 0 0 2>/dev/null; done
  sleep 0.6
  import -window root "$work/shot-$tag-$1.png"
}
# Landscape: 16:9, then 16:10, then PHONE (F5 steps the model).
names=(16x9 16x10 phone)
for orient in landscape portrait; do
  for i in 0 1 2; do
    if [ "$i" = 1 ]; then
      # A button held while the picture is taken: the case shows it pressed.
      xdotool keydown Left; shot "${names[$i]}-$orient"; xdotool keyup Left
    else
      shot "${names[$i]}-$orient"
    fi
    press F5
  done
  press F3
done
kill "$pid"; wait "$pid"
INNER
chmod +x "$work/inner.sh"

i=0
for colour in BEIGE BLACK "SOLID GREEN"; do
  tag=$(echo "$colour" | tr ' A-Z' '_a-z')
  xvfb-run -a -s "-screen 0 2100x2100x24" "$work/inner.sh" "$PWD/build/quillmarch" "$work" "$colour" "$tag"
  if grep -q "Console art unavailable" "$work/err-$tag"; then echo "the case art did not decode"; exit 1; fi
  i=$((i + 1))
done
# Every picture must be there and show something: a window that never opened leaves the root
# window black, a picture of one colour or a few.
shots=()
for tag in beige black solid_green; do
  for orient in landscape portrait; do
    for model in 16x9 16x10 phone; do
      f="$work/shot-$tag-$model-$orient.png"
      if [ ! -s "$f" ]; then echo "case photograph missing: $(basename "$f")" >&2; exit 1; fi
      colours=$(identify -format '%k' "$f")
      if [ "$colours" -lt 16 ]; then
        echo "case photograph blank ($colours colours): $(basename "$f")" >&2
        exit 1
      fi
      shots+=("$f")
    done
  done
done
tiles=()
for f in "${shots[@]}"; do
  name=$(basename "$f" .png)
  convert "$f" -bordercolor black -border 1 -fuzz 3% -trim +repage "$f"
  # A press of F3 lost under load would leave a portrait photograph lying on its side.
  read -r w h < <(identify -format '%w %h\n' "$f")
  case "$name" in
    *-portrait) turned=$((h > w)) ;;
    *) turned=$((w > h)) ;;
  esac
  if [ "$turned" != 1 ]; then echo "case photograph in the wrong orientation (${w}x${h}): $name" >&2; exit 1; fi
  sheet_tile "$f" "${name#shot-}" 420x420 "$work/tile-${name#shot-}.png"
  tiles+=("$work/tile-${name#shot-}.png")
done
montage "${tiles[@]}" -tile 6x -geometry '+8+8' -background "$SHEET_GROUND" -depth 8 "$out_png"
echo "$out_png: ${#shots[@]} screenshots"
