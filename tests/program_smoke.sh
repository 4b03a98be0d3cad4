#!/usr/bin/env bash
# Starts the real program headless: with the case art built in it must not print the plain-pad
# line, must keep running, exit 0 on SIGTERM, and have cut the play-statistics files left past
# their cap back to their newest lines; a video failure must print the SDL_Init line and exit 1; a
# perf report or gpu-check picture that cannot be written is told and fails the run.
set -u
bin="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_DATA_HOME="$work/data"
export SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy

# A history and a queue of 600 KiB, each a thousand lines of 618 bytes counted from 0.
data="$work/data/QuillmarchDemo"
mkdir -p "$data"
for f in runs.jsonl events_outbox.jsonl; do
  awk 'BEGIN { pad = sprintf("%600s", ""); for (n = 0; n < 1000; n++) printf "{\"n\":%04d,\"p\":\"%s\"}\n", n, pad }' >"$data/$f"
done

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
# The start cut each back to within 384 KiB, its newest lines whole.
for f in runs.jsonl events_outbox.jsonl; do
  size=$(stat -c %s "$data/$f")
  [ "$size" -le 393216 ] || { echo "$f was not cut back at the start: $size bytes"; exit 1; }
  head -c 7 "$data/$f" | grep -q '^{"n":0' || { echo "$f does not begin with a whole line"; exit 1; }
  tail -n 1 "$data/$f" | grep -q '^{"n":0999,' || { echo "$f lost its newest line"; exit 1; }
done

SDL_VIDEODRIVER=nonexistent "$bin" 2>"$work/err2"
rc=$?
[ "$rc" -eq 1 ] || { echo "video failure gave status $rc"; exit 1; }
grep -q "^SDL_Init failed: " "$work/err2" || { echo "missing SDL_Init line"; cat "$work/err2"; exit 1; }
# A folder at a gpu-check picture's name and a FIFO at the report's: told, and the status is not 0.
mkdir "$data/gpu_check_gpu.ppm"
"$bin" --gpu-check >/dev/null 2>"$work/err3"
rc=$?
[ "$rc" -ne 0 ] || { echo "--gpu-check gave status 0 with gpu_check_gpu.ppm unwritten"; exit 1; }
grep -q "^gpu-check: could not write gpu_check_gpu.ppm: " "$work/err3" || { echo "no line for the picture"; cat "$work/err3"; exit 1; }
mkfifo "$data/perf_report.txt"
"$bin" --perf-test 1 >/dev/null 2>"$work/err4"
rc=$?
[ "$rc" -ne 0 ] || { echo "--perf-test gave status 0 with perf_report.txt unwritten"; exit 1; }
grep -q "^perf-test: could not write perf_report.txt: " "$work/err4" || { echo "no line for the report"; cat "$work/err4"; exit 1; }
echo "smoke ok"
