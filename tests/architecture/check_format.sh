#!/usr/bin/env bash
# Fails when any C++ file of the project differs from what clang-format makes of it with the
# checked-in .clang-format; lists the files and lines that do.
set -euo pipefail
cd "$1"
find src tests bench fuzz tools \( -name '*.h' -o -name '*.cpp' \) -print0 |
  sort -z | xargs -0 clang-format --dry-run --Werror
