#!/usr/bin/env bash
# Runs the tests with review pictures switched on and gathers every picture they write into one
# labelled contact sheet, docs/review_sheet.png, for looking over all screens at once.
#   scripts/review_sheet.sh [TEST-REGEX SHEET]  only the tests CTest's -R picks, into SHEET, e.g.
#   scripts/review_sheet.sh 'Playthrough|TrainingE2E' docs/playthrough_sheet.png
# Needs ImageMagick (apt-get install -y imagemagick) and a configured build/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sheet_tiles.sh
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
cmake --build build -j"$(nproc)" >/dev/null
# Through CTest, so each test runs in a process of its own as in CI.
filter=${1:-.}
sheet=${2:-docs/review_sheet.png}
QM_PNG_DIR="$out" ctest --test-dir build -j"$(nproc)" -R "$filter" >/dev/null
sheet_gather "$out" '.' "$sheet" 240x150 8
