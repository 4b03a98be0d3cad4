#!/usr/bin/env bash
# Runs the real program's perf test for 3 seconds headless and checks that it printed and wrote
# its report. The verdict is not checked: shared machines are too noisy to hold 60 reliably.
set -u
bin="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_DATA_HOME="$work/data"
export SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy

timeout 30 "$bin" --perf-test 3 >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 0 ] || [ "$rc" -eq 1 ] || { echo "perf test exit status $rc"; cat "$work/err"; exit 1; }
report=$(find "$work/data" -name perf_report.txt | head -1)
[ -n "$report" ] || { echo "no perf_report.txt written"; cat "$work/out" "$work/err"; exit 1; }
grep -q "^Quillmarch perf test: the walk, 3 s on floor 15" "$report" || { echo "report head missing"; cat "$report"; exit 1; }
grep -qE "^  verdict: (LOCKED 60|NOT LOCKED)$" "$report" || { echo "report verdict missing"; cat "$report"; exit 1; }
cmp -s "$report" "$work/out" || { echo "printed report differs from the written one"; exit 1; }
# The exit status carries the verdict.
if grep -q "verdict: LOCKED 60" "$report"; then [ "$rc" -eq 0 ]; else [ "$rc" -eq 1 ]; fi || { echo "exit $rc disagrees with the verdict"; exit 1; }
echo "perf test report written"
