#!/usr/bin/env bash
# Run by hand: plays the real program in a virtual X display (Xvfb, xdotool): starts a run, takes a
# step, SAVE & QUIT from the pause menu, starts the program again and takes CONTINUE; the run file
# written on arrival must hold the same player image (cell, facing, bag) as the one saved on quitting.
# Timing-based (it presses keys on a clock), so it is not part of the test run.
# Usage: continue_check.sh BUILD/quillmarch
set -u
bin=${1:?usage: continue_check.sh path/to/quillmarch}
work=$(mktemp -d)
display=:$((70 + RANDOM % 20))
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
game=
cleanup() {
  [ -n "$game" ] && kill -TERM "$game" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display HOME=$work XDG_DATA_HOME=$work/data
export SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
run=$work/data/QuillmarchDemo/run.sav
sleep 1

# A key held for a few ticks, so the frame loop sees it down.
key() { xdotool keydown "$1"; sleep 0.08; xdotool keyup "$1"; sleep "${2:-0.4}"; }
start() {
  "$bin" 2>>"$work/err" &
  game=$!
  sleep 2
  xdotool windowfocus "$(xdotool search --onlyvisible --name . | head -1)"
}
# The player image: file bytes 16..1123.
player_image() { od -An -tx1 -j16 -N1108 "$1"; }

start
for _ in 1 2 3 4 5 6 7 8; do key Return 1.2; done  # power-on, splash, title, dialogs, class select
sleep 3
[ -f "$run" ] || { echo "no run.sav after starting a run"; exit 1; }
started=$(player_image "$run")
key Up; key Up
key Escape 0.8; key Up; key Return 1
quit=$(player_image "$run")
[ "$quit" != "$started" ] || { echo "SAVE & QUIT did not save the walk"; exit 1; }
cp "$run" "$work/quit.sav"

kill -TERM "$game"; wait "$game"; game=
start
key Return 1.5; key Return 1.5  # power-on, splash: the title's cursor stands on CONTINUE
key Return 2
[ "$run" -nt "$work/quit.sav" ] || { echo "CONTINUE did not enter the dungeon"; exit 1; }
[ "$(player_image "$run")" = "$quit" ] || { echo "the continued run differs from the saved one"; exit 1; }
echo "continue ok"
