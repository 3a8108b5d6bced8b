#!/usr/bin/env bash
# The tree `cmake --install` lays out under /usr (the Debian package holds the same): installs
# the build into a temporary DESTDIR and checks that every program runs from there and has a
# manual page that renders without warnings and names every option its --help lists; that
# the menu entry and the AppStream metainfo pass their validators and the entry's Exec line
# starts the window; that the icon is in the hicolor theme at the usual sizes; and that the
# README and the copyright notice are in the documentation folder.
# Usage: check_install_tree.sh BUILD_DIR APP_ID VERSION
set -uo pipefail

build=$1 app_id=$2 version=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
for tool in desktop-file-validate:desktop-file-utils man:man-db file:file; do
  if ! command -v "${tool%%:*}" >/dev/null; then
    echo "FAIL: ${tool%%:*} is missing (scripts/setup.sh installs ${tool#*:})"
    exit 1
  fi
done

if ! DESTDIR=$stage/root cmake --install "$build" --prefix /usr >"$stage/install.log" 2>&1; then
  cat "$stage/install.log"
  echo "FAIL: cmake --install $build"
  exit 1
fi
usr=$stage/root/usr
# The window may keep settings: keep them out of the real home.
export HOME=$stage/home XDG_CONFIG_HOME=$stage/home/.config

# The options a program's --help lists: the names that open each line starting with a dash
# ("-n,--numerator TEXT=...", "-h, --help").
help_options() {
  "$1" --help | awk '/^ +-/ { for (i = 1; i <= NF && $i ~ /^-/; ++i) print $i }' |
    tr ',' '\n' | grep -E '^-' | sort -u
}

# Renders the page as man shows it, wide and without hyphenation, so no name is split.
render() { MANWIDTH=200 MANROFFOPT=-rHY=0 man -E ascii -l "$1" 2>/dev/null; }

check_manual_page() {
  local program=$1 page=$2 name
  name=$(basename "$program")
  if [[ ! -f $page ]]; then
    fail "$name has no manual page ${page#"$stage"/root} (its template packaging/man/$name.1.in is missing)"
    return
  fi
  local warnings
  warnings=$(MANWIDTH=80 man --warnings=w -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man -l ${page#"$stage"/root} warns: $warnings"
  local options_section option listed=0
  options_section=$(render "$page" | awk '/^[A-Z]/ { section = $0; next } section == "OPTIONS"')
  while read -r option; do
    listed=$((listed + 1))
    grep -qE -- "(^|[^-[:alnum:]])${option}([^-[:alnum:]]|$)" <<<"$options_section" ||
      fail "$name --help lists $option, its manual page's OPTIONS do not"
  done < <(help_options "$program")
  ((listed > 0)) || fail "$name --help lists no options"
}

for name in brevandor brevandor-cli brevandor-plot; do
  [[ -x $usr/bin/$name ]] || fail "bin/$name is not installed"
done
for program in "$usr"/bin/*; do
  name=$(basename "$program")
  output=$("$program" --version 2>&1)
  status=$?
  [[ $status -eq 0 && $output == *"$version"* ]] ||
    fail "bin/$name --version ended with status $status: $output"
  check_manual_page "$program" "$usr/share/man/man1/$name.1"
done

desktop=$usr/share/applications/$app_id.desktop
if [[ -f $desktop ]]; then
  output=$(desktop-file-validate "$desktop" 2>&1)
  [[ $? -eq 0 && -z $output ]] || fail "desktop-file-validate: $output"
  [[ $(sed -n 's/^Icon=//p' "$desktop") == "$app_id" ]] || fail "the menu entry's icon is not $app_id"
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  command=${exec_line%% *}
  if [[ ! -x $usr/bin/$command ]]; then
    fail "Exec=$exec_line: $command is not a program in bin"
  else
    # Started as the menu starts it, from PATH with the field codes dropped, on the offscreen
    # platform: the window must still be up when the timeout ends it.
    (cd "$stage" && PATH=$usr/bin:$PATH QT_QPA_PLATFORM=offscreen \
      timeout 3 ${exec_line//%[a-zA-Z]/} >"$stage/exec.log" 2>&1)
    status=$?
    ((status == 124)) ||
      fail "Exec=$exec_line ended with status $status instead of running: $(cat "$stage/exec.log")"
  fi
else
  fail "no menu entry share/applications/$app_id.desktop"
fi

icons=0
for png in "$usr"/share/icons/hicolor/*/apps/"$app_id".png; do
  [[ -f $png ]] || continue
  size=$(basename "$(dirname "$(dirname "$png")")")
  file -b "$png" | grep -q "^PNG image data, ${size/x/ x }," ||
    fail "icon $size is $(file -b "$png")"
  icons=$((icons + 1))
done
for size in 16 32 48 64 128 256; do
  [[ -f $usr/share/icons/hicolor/${size}x$size/apps/$app_id.png ]] || fail "no $size px icon"
done

metainfo=$usr/share/metainfo/$app_id.metainfo.xml
if [[ ! -f $metainfo ]]; then
  fail "no AppStream metainfo share/metainfo/$app_id.metainfo.xml"
elif command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >"$stage/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$stage/appstream.log")"
  appstreamcli validate-tree --no-net "$stage/root" >"$stage/appstream.log" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$stage/appstream.log")"
else
  echo "skipped: appstreamcli is not installed, the metainfo was not validated"
fi

for doc in README.md copyright; do
  [[ -s $usr/share/doc/brevandor/$doc ]] || fail "no share/doc/brevandor/$doc"
done

if ((failures > 0)); then
  echo "$failures failure(s) in the installed tree:"
  (cd "$stage/root" && find . -type f | sort)
  exit 1
fi
echo "installed tree checked: $(ls "$usr/bin" | wc -l) programs, $icons icon sizes"
