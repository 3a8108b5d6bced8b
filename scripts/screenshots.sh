#!/usr/bin/env bash
# Builds the desktop program and takes the README's pictures on Qt's offscreen platform: the
# main window and the results viewer after a calculation at N = 10 of the default code, and
# the Advanced Setup dialog. Writes docs/screenshots/main-window.png, results-viewer.png and
# advanced-setup.png.
# Usage: scripts/screenshots.sh [preset]   (default: release)
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-release}"
if [[ ! -f "build/$preset/build.ninja" ]]; then
  cmake --preset "$preset"
fi
cmake --build --preset "$preset" --target brevandor_screenshots

mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen "build/$preset/src/ui/brevandor_screenshots" docs/screenshots
