#!/usr/bin/env bash
# Sets everything up, builds the optimised programs and runs the default calculation.
# Arguments are passed to the command-line program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh release

cli=build/release/src/cli/brevandor-cli
window=build/release/src/ui/brevandor
if [[ $# -eq 0 && -n "${DISPLAY:-}" && -x "$window" ]]; then
  exec "$window"
fi
if [[ -x "$cli" ]]; then
  exec "$cli" "$@"
fi
echo "Built the core library; the programs are not part of this build yet."
