#!/usr/bin/env bash
# Rewrites every picture sheet under docs/ from the code as it stands, in one go:
#   - the review pictures of every test (run once through CTest with QM_PNG_DIR set): the sheets the
#     tests draw themselves are copied over, the others are gathered by file name;
#   - the sprite, font and monster-size sheets (the contact_sheet target) and the case drawings;
#   - the two songs' waveforms in docs/audio (the audio_render target, which also writes the WAV
#     files there that git ignores);
#   - the photographs of the running game's case (scripts/case_shots.sh), when xvfb-run is there.
# Not docs/case_swap_ab.png: scripts/case_swap_shot.sh takes that photograph on its own.
# Needs ImageMagick and a configured build/ (scripts/test.sh makes one). Usage: scripts/sheets.sh
# An unchanged tree gives the same sheets byte for byte: the pictures are drawn from fixed seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sheet_tiles.sh
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# The tests run headless; the case photographs below need a real window, so the dummy drivers are
# given to the build and the tests alone, never exported to the rest of the script.
headless=(env SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy)
"${headless[@]}" cmake --build build -j"$(nproc)" >/dev/null
"${headless[@]}" QM_PNG_DIR="$out" ctest --test-dir build -j"$(nproc)" >/dev/null

# Sheets a test draws whole.
cp "$out/bag_sheet.png" docs/bag_review_sheet.png
for s in camp_pages fight_classic_sheet fight_view_sheet front_end_sheet; do cp "$out/$s.png" "docs/$s.png"; done
cp "$out/training_tips.png" docs/training_tips_sheet.png

# Labelled sheets of the pictures whose names match each pattern.
sheet_gather "$out" '^(hud_|caption_|transition_|death_(dragon|replay|skeleton)|escape|splash|demo_end|flow_death)' docs/hud_run_end_sheet.png 480x480 4
sheet_gather "$out" '^(menu_|pad_|unlocks_list|perf_overlay)' docs/menu_screens_sheet.png 480x480 4
sheet_gather "$out" '^(shrine_|text_fit_shrine|view_shrine|objects_shrine)' docs/shrine_sheet.png 640x640 3
sheet_gather "$out" '^(playthrough_|death_run_|training_e2e_)' docs/playthrough_sheet.png 240x150 8
sheet_gather "$out" '.' docs/review_sheet.png 240x150 8

# The art: every sprite and frame, the font, the monsters' drawn sizes, the case drawings.
cmake --build build --target contact_sheet case_art_pngs >/dev/null
cmake --build build --target audio_render >/dev/null
sheet_gather build/case_art '.' docs/case_art_sheet.png 320x320 8
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  scripts/case_shots.sh docs/case_screenshots.png
else
  echo "docs/case_screenshots.png kept: the case photographs need xvfb-run and xdotool"
fi
