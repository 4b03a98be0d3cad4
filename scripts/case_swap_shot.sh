#!/usr/bin/env bash
# Photographs the real game's case with A and B swapped: a new player says yes to play stats, goes
# to OPTIONS, CONTROLS, turns SWAP A/B on and comes back to OPTIONS, whose footer then names the
# swapped keys; the window alone is taken into docs/case_swap_ab.png. Needs xvfb-run, xdotool and
# ImageMagick, and a built build/quillmarch. Usage: scripts/case_swap_shot.sh [OUT_PNG]
# Fails, leaving OUT_PNG as it was, when the photograph is missing or blank. A mark that moves along
# the screen's edge makes two photographs differ by a few pixels, so scripts/sheets.sh leaves this one out.
set -euo pipefail
cd "$(dirname "$0")/.."
out_png=${1:-docs/case_swap_ab.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/inner.sh" <<'INNER'
#!/usr/bin/env bash
set -u
bin=$1 work=$2
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" SDL_AUDIODRIVER=dummy
# A real window on the virtual display: a dummy video driver left over from a test run would give
# a black picture.
unset SDL_VIDEODRIVER SDL_RENDER_DRIVER
mkdir -p "$HOME"
"$bin" 2>"$work/err" &
pid=$!
sleep 2
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep "${2:-0.4}"; }
presses() { for _ in $(seq "$2"); do press "$1"; done; }
# Power-on and the splash, then yes to play stats (ENTER is A).
press Return 1.0
press Return 1.0
sleep 2
press Return 1.0
# The title's cursor starts on NEW GAME; OPTIONS is three rows down, CONTROLS five rows into it.
presses Down 3
press Return 1.0
presses Down 4
press Return 1.0
# The keyboard's eight bindings, then SWAP A/B; A turns it on, and B, now on ENTER, goes back.
presses Down 8
press Return 0.8
press Return 1.0
sleep 1
win=$(xdotool search --pid "$pid" 2>/dev/null | head -1)
[ -n "$win" ] && import -window "$win" "$work/shot.png"
kill "$pid"; wait "$pid"
INNER
chmod +x "$work/inner.sh"

xvfb-run -a -s "-screen 0 1600x1200x24" "$work/inner.sh" "$PWD/build/quillmarch" "$work"
if grep -q "Console art unavailable" "$work/err"; then echo "the case art did not decode" >&2; exit 1; fi
if [ ! -s "$work/shot.png" ]; then echo "swap A/B photograph missing" >&2; exit 1; fi
colours=$(identify -format '%k' "$work/shot.png")
if [ "$colours" -lt 16 ]; then echo "swap A/B photograph blank ($colours colours)" >&2; exit 1; fi
convert "$work/shot.png" -define png:exclude-chunks=date,time -depth 8 "$out_png"
echo "$out_png: the case with A and B swapped"
