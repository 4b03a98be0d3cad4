#!/usr/bin/env bash
# Starts the real program headless: with the case art built in it must not print the plain-pad
# line, must keep running, and exit 0 on SIGTERM; a video failure must print the SDL_Init line and
# exit 1.
set -u
bin="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_DATA_HOME="$work/data"
export SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy

"$bin" 2>"$work/err" &
pid=$!
sleep 1.5
if ! kill -0 "$pid" 2>/dev/null; then
  echo "the game stopped on its own"; cat "$work/err"; exit 1
fi
kill -TERM "$pid"
wait "$pid"
rc=$?
[ "$rc" -eq 0 ] || { echo "exit status $rc after SIGTERM"; cat "$work/err"; exit 1; }
if grep -q "Console art unavailable" "$work/err"; then echo "the case art did not decode"; cat "$work/err"; exit 1; fi

SDL_VIDEODRIVER=nonexistent "$bin" 2>"$work/err2"
rc=$?
[ "$rc" -eq 1 ] || { echo "video failure gave status $rc"; exit 1; }
grep -q "^SDL_Init failed: " "$work/err2" || { echo "missing SDL_Init line"; cat "$work/err2"; exit 1; }
echo "smoke ok"
