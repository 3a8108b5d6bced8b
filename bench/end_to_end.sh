#!/usr/bin/env bash
# Times whole runs of brevandor-cli (all three bounds) and their peak memory, and prints a
# Markdown table. Usage: bench/end_to_end.sh [type:N[:D[:precision]] ...]   (default: the
# README's table). A third field D runs low-weight mode, --max-weight D; a fourth field
# "double" runs with double-precision tables (e.g. sccc:4000::double).
# Builds the release preset first.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release --target brevandor-cli >/dev/null
cli=build/release/src/cli/brevandor-cli

cases=("$@")
if ((${#cases[@]} == 0)); then
  cases=(pccc:128 pccc:1000 pccc:4000 pccc:10000 sccc:128 sccc:1000 sccc:2000)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "| type | N | wall time | peak memory |"
echo "|---|---:|---:|---:|"
for case in "${cases[@]}"; do
  IFS=: read -r type n limit precision <<<"$case"
  mode=()
  if [[ -n "$limit" ]]; then
    mode=(--max-weight "$limit")
  fi
  if [[ -n "$precision" ]]; then
    mode+=(--precision "$precision")
  fi
  /usr/bin/time -f '%e %M' -o "$work/time" \
    "$cli" --quiet --type "$type" --frame-length "$n" "${mode[@]}" --bounds all \
    --output "$work/results.txt"
  read -r seconds kibibytes <"$work/time"
  awk -v t="$type" -v n="$n" -v d="$limit" -v p="$precision" -v s="$seconds" -v k="$kibibytes" 'BEGIN {
    unit = "MB"; size = k * 1024 / 1e6;
    if (size >= 1000) { unit = "GB"; size /= 1000 }
    name = toupper(t); if (d != "") { name = name ", d <= " d }
    if (p != "") { name = name ", " p }
    printf "| %s | %d | %.2f s | %.1f %s |\n", name, n, s, size, unit }'
done
