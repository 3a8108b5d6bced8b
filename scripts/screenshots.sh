#!/usr/bin/env bash
# Builds the programs and takes the README's pictures on Qt's offscreen platform: the main
# window, the results window's Bounds, Spectrum and File tabs after a calculation at N = 100
# with all bounds, the Advanced Setup dialog, the Bounds tab overlaying the default code at
# N = 100, 400 and 1000, and brevandor-plot's picture of every bound at N = 1000. The three
# overlaid runs are made once with brevandor-cli --json and kept under build/screenshot-records.
# Writes docs/screenshots/*.png.
# Usage: scripts/screenshots.sh [preset]   (default: release)
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-release}"
if [[ ! -f "build/$preset/build.ninja" ]]; then
  cmake --preset "$preset"
fi
cmake --build --preset "$preset" --target brevandor_screenshots brevandor-cli brevandor-plot

records=build/screenshot-records
mkdir -p "$records" docs/screenshots
overlay=()
for n in 100 400 1000; do
  if [[ ! -s "$records/pccc-$n.json" ]]; then
    echo "computing the default code at N = $n"
    "build/$preset/src/cli/brevandor-cli" -q -N "$n" -b q -o "$records/pccc-$n.txt" \
      --json "$records/pccc-$n.json"
  fi
  overlay+=("$records/pccc-$n.json")
done

QT_QPA_PLATFORM=offscreen "build/$preset/tools/brevandor_screenshots" docs/screenshots \
  "${overlay[@]}"

# Every bound of both sections for the default code at N = 1000, drawn by brevandor-plot.
all_bounds=q,exp,viterbi,ub-word,exp-word,tsb,tsb-word,simple,simple-word,sphere
"build/$preset/src/cli/brevandor-cli" -q -N 1000 -b "$all_bounds" --ebn0 0:0.1:5 \
  -o "$records/pccc-1000-all-bounds.txt" --json "$records/pccc-1000-all-bounds.json"
QT_QPA_PLATFORM=offscreen "build/$preset/src/cli/brevandor-plot" \
  --title "Default PCCC, N = 1000: every bound" -o docs/screenshots/further-bounds.png \
  "$records/pccc-1000-all-bounds.json"
