#!/usr/bin/env bash
# Times the named codes' benchmark runs of brevandor-cli one at a time, each stopped once it
# passes a time limit, and prints a Markdown table with peak memory.
# Usage: bench/standard_codes.sh [CLI [LIMIT_SECONDS]]
#   CLI: the program to time (default: build/release/src/cli/brevandor-cli, built first)
#   LIMIT_SECONDS: how long one run may take before it is stopped (default 300)
# Runs: the rate-1/3 CCSDS code at k = 1784, whole spectrum, every bound; every CCSDS rate at
# k = 8920 in low-weight mode up to d = 40 with the three BER bounds.
set -euo pipefail
cd "$(dirname "$0")/.."

cli=${1:-}
limit=${2:-300}
if [[ -z "$cli" ]]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target brevandor-cli >/dev/null
  cli=build/release/src/cli/brevandor-cli
fi

every_bound=all,ub-word,exp-word,tsb,tsb-word,simple,simple-word,sphere
cases=(
  "ccsds-1/3:1784::$every_bound"
  "ccsds-1/2:8920:40:all"
  "ccsds-1/3:8920:40:all"
  "ccsds-1/4:8920:40:all"
  "ccsds-1/6:8920:40:all"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "| code | k | mode | bounds | wall time | peak memory |"
echo "|---|---:|---|---|---:|---:|"
for case in "${cases[@]}"; do
  IFS=: read -r code k weight bounds <<<"$case"
  mode=()
  name="whole spectrum"
  if [[ -n "$weight" ]]; then
    mode=(--max-weight "$weight")
    name="d <= $weight"
  fi
  status=0
  /usr/bin/time -f '%e %M' -o "$work/time" timeout "$limit" \
    "$cli" --quiet --code "$code" --frame-length "$k" "${mode[@]}" --bounds "$bounds" \
    --output "$work/results.txt" 2>/dev/null || status=$?
  read -r seconds kibibytes < <(tail -n 1 "$work/time")
  if ((status == 124)); then
    seconds="stopped after $limit s"
  elif ((status != 0)); then
    seconds="failed (exit $status)"
  else
    seconds="$seconds s"
  fi
  awk -v c="$code" -v k="$k" -v m="$name" -v b="$bounds" -v s="$seconds" -v kb="$kibibytes" 'BEGIN {
    unit = "MB"; size = kb * 1024 / 1e6;
    if (size >= 1000) { unit = "GB"; size /= 1000 }
    printf "| %s | %d | %s | %s | %s | %.1f %s |\n", c, k, m, b, s, size, unit }'
done
