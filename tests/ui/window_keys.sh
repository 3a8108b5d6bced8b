#!/usr/bin/env bash
# Tries the window's keys on a real X display (Xvfb), as a user's keyboard sends them
# (xdotool), not through Qt's test events:
#   1. Escape on the idle window leaves it open.
#   2. Enter in a field starts a calculation, and the window stays open.
#   3. Alt+F, a frame of 1001 bits and Enter bring up the time and memory estimate; Enter
#      there starts the calculation; Escape during the calculation neither closes the window
#      nor stops the calculation, whose results file ends complete.
#   4. Alt+X ("Exit") closes the window and ends the program.
# Usage: tests/ui/window_keys.sh PATH_TO_BREVANDOR
# Exits 0 when every step behaves, 1 when one does not, 77 (skipped) without Xvfb or xdotool.
set -euo pipefail

program=$(realpath "${1:?usage: $0 PATH_TO_BREVANDOR}")
for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
cleanup() {
  [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# On a failure, a picture of the screen goes to $BREVANDOR_KEYS_SCREENSHOT when it is set.
fail() {
  echo "FAIL: $*"
  if [[ -n "$program_pid" ]]; then
    for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
      echo "  window $id: $(xdotool getwindowname "$id")"
    done
    echo "  focus: $(xdotool getwindowfocus 2>/dev/null || true)"
  fi
  if [[ -n "${BREVANDOR_KEYS_SCREENSHOT:-}" ]] && command -v import >/dev/null; then
    import -window root "$BREVANDOR_KEYS_SCREENSHOT" || true
  fi
  exit 1
}

# A display of our own: Xvfb takes the first free number itself and writes it to the file,
# so two of these scripts running at once never share (or steal) a display.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do
  [[ -s "$work/display" ]] && break
  sleep 0.1
done
[[ -s "$work/display" ]] || fail "Xvfb found no free display ($(cat "$work/xvfb.log"))"
export DISPLAY=":$(head -n 1 "$work/display")"
ready=""
for _ in $(seq 300); do
  if xdotool getmouselocation >/dev/null 2>&1; then
    ready=yes
    break
  fi
  sleep 0.1
done
[[ -n "$ready" ]] || fail "Xvfb did not start ($(cat "$work/xvfb.log"))"

# The program runs in a scratch folder (its results file lands there) with settings of its own.
cd "$work"
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
program_pid=$!

alive() { kill -0 "$program_pid" 2>/dev/null; }

window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --pid "$program_pid" --name '^Brevandor$' 2>/dev/null |
    head -1 || true)
  [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "$window" ]] || fail "the window did not appear ($(cat "$work/program.log"))"
sleep 0.5

# Real key events (XTEST) to the main window, given the input focus first: a completed
# calculation opens the results viewer, which may have taken it.
press() {
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers "$@"
  sleep 0.5
}

# Waits up to $2 seconds for the results file to end complete.
wait_complete() {
  for _ in $(seq "$(($2 * 10))"); do
    if [[ -f "$1" ]] && grep -q "computed with Weighted Distance Spectrum" "$1"; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

echo "1. Escape on the idle window"
press Escape
alive || fail "Escape closed the window"

echo "2. Enter in a field"
press Tab
press Return
alive || fail "Enter closed the window"
wait_complete results.txt 60 || fail "Enter did not start a calculation"
rm -f results.txt

echo "3. A frame of 1001 bits: the estimate, Start with Enter, Escape during the run"
press alt+f
press ctrl+a
xdotool type --delay 50 1001
before=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | sort || true)
press Return
# The estimate question is a window of its own; Enter presses its default button, "Start".
question=""
for _ in $(seq 50); do
  question=$(comm -13 <(echo "$before") \
    <(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | sort) | head -1 || true)
  [[ -n "$question" ]] && break
  sleep 0.1
done
[[ -n "$question" ]] || fail "no estimate question above 1000 bits"
echo "  question window $question, main window $window"
xdotool windowfocus --sync "$question"
xdotool key --clearmodifiers Return
# A running calculation writes a temporary beside the results file (".results.txt.*"),
# renamed to results.txt when it completes.
started() { compgen -G ".results.txt.*" >/dev/null || [[ -f results.txt ]]; }
for _ in $(seq 100); do
  started && break
  sleep 0.1
done
started || fail "Start did not start the calculation"
press Escape
alive || fail "Escape during a calculation closed the window"
wait_complete results.txt 600 || fail "the calculation did not complete after Escape"

echo "4. Alt+X closes the window"
press alt+x
for _ in $(seq 50); do
  alive || break
  sleep 0.1
done
alive && fail "Alt+X did not close the window"
wait "$program_pid" || fail "the program ended with status $?"
program_pid=""
echo "PASS: Escape never closes the window, Enter runs, Alt+X exits"
