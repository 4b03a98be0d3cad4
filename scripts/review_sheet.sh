#!/usr/bin/env bash
# Runs the tests with review pictures switched on and gathers every picture they write into one
# labelled contact sheet, docs/review_sheet.png, for looking over all screens at once.
# Needs ImageMagick's montage (apt-get install -y imagemagick) and a configured build/.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
cmake --build build -j"$(nproc)" >/dev/null
QM_PNG_DIR="$out" build/qm_tests >/dev/null
montage -label '%t' -pointsize 14 -background '#282828' -fill white \
  "$out"/*.png -tile 4x -geometry '480x300>+6+6' docs/review_sheet.png
echo "docs/review_sheet.png: $(ls "$out"/*.png | wc -l) pictures"
