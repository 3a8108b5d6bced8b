#!/usr/bin/env bash
# Builds the Debian package with CPack and checks it: dpkg-deb lists the programs, manual
# pages, menu entry, icons, metainfo and documentation, and apt resolves the package's
# declared dependencies on this system (a simulation: nothing is installed).
# Usage: scripts/package.sh [preset]   (default: package, the optimised build for /usr)
# Writes build/PRESET/brevandor_VERSION_ARCH.deb; install it with
#   apt install ./build/package/brevandor_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-package}"
# The manual pages and the metainfo carry the date of the last commit, so that packages built
# from one commit are the same.
if [[ -z "${SOURCE_DATE_EPOCH:-}" ]] && git rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi

scripts/setup.sh "$preset"
rm -f "build/$preset"/brevandor_*.deb
(cd "build/$preset" && cpack -G DEB >/dev/null)
debs=("build/$preset"/brevandor_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
  echo "error: cpack made no single brevandor_*.deb in build/$preset" >&2
  exit 1
fi
deb=${debs[0]}

dpkg-deb --field "$deb" Package Version Architecture Depends
contents=$(dpkg-deb --contents "$deb")
echo "$contents"
missing=0
for path in usr/bin/brevandor usr/bin/brevandor-cli usr/bin/brevandor-plot \
    usr/share/man/man1/brevandor\.1 usr/share/man/man1/brevandor-cli\.1 \
    usr/share/man/man1/brevandor-plot\.1 \
    'usr/share/applications/[^/]+\.desktop' 'usr/share/metainfo/[^/]+\.metainfo\.xml' \
    'usr/share/icons/hicolor/48x48/apps/[^/]+\.png' \
    usr/share/doc/brevandor/README\.md usr/share/doc/brevandor/copyright; do
  if ! grep -qE " \./$path\$" <<<"$contents"; then
    echo "error: the package holds no /$path" >&2
    missing=1
  fi
done
((missing == 0))

# Every declared dependency must resolve against Debian's packages.
if ! apt-get install --simulate --no-install-recommends "./$deb" >"build/$preset/apt.log" 2>&1; then
  cat "build/$preset/apt.log" >&2
  echo "error: apt cannot resolve the dependencies of $deb" >&2
  exit 1
fi
echo "apt resolves the dependencies of $deb"
