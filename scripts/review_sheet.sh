#!/usr/bin/env bash
# Runs the tests with review pictures switched on and gathers every picture they write into one
# labelled contact sheet, docs/review_sheet.png, for looking over all screens at once.
#   scripts/review_sheet.sh [TEST-REGEX SHEET]  only the tests CTest's -R picks, into SHEET, e.g.
#   scripts/review_sheet.sh 'Playthrough|TrainingE2E' docs/playthrough_sheet.png
# Needs ImageMagick (apt-get install -y imagemagick) and a configured build/.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
cmake --build build -j"$(nproc)" >/dev/null
# Through CTest, so each test runs in a process of its own as in CI.
filter=${1:-.}
sheet=${2:-docs/review_sheet.png}
QM_PNG_DIR="$out" ctest --test-dir build -j"$(nproc)" -R "$filter" >/dev/null
# Each picture shrunk first: the full-size ones together exceed ImageMagick's default limits.
mkdir -p "$out/small"
for f in "$out"/*.png; do convert "$f" -resize '240x150>' -depth 8 "$out/small/$(basename "$f")"; done
montage -label '%t' -pointsize 12 -background '#282828' -fill white \
  "$out"/small/*.png -tile 8x -geometry '+3+3' -depth 8 "$sheet"
echo "$sheet: $(ls "$out"/*.png | wc -l) pictures"
