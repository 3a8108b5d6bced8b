#!/usr/bin/env bash
# Installs the Debian packages the build needs (when any is missing) and configures and
# builds the given CMake preset. Usage: scripts/setup.sh [preset]   (default: release)
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-release}"
# libgmock-dev: GTest's CMake package names the gmock library, so it must be there.
# clang-format and clang-tidy: the format check of the tests and the tidy preset.
packages=(g++ cmake ninja-build
          libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev libboost-dev
          qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev nlohmann-json3-dev
          libgl-dev xvfb xauth xdotool
          desktop-file-utils appstream man-db groff-base dpkg-dev file
          clang libclang-rt-14-dev clang-format clang-tidy)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "error: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset "$preset"
cmake --build --preset "$preset"
