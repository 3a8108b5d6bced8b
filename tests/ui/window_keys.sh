#!/usr/bin/env bash
# Tries the window's keys on a real X display (Xvfb), as a user's keyboard sends them
# (xdotool), not through Qt's test events:
#   1. Escape on the idle window leaves it open.
#   2. Enter in a field starts a calculation, and the window stays open.
#   3. Advanced Setup (Alt+A) refuses at OK (Enter) low-weight mode (Alt+L) together with a
#      puncturing pattern under which input bits can send nothing (Alt+P), which the run
#      would refuse; Escape leaves it.
#   4. Alt+F, a frame of 1001 bits and Enter bring up the time and memory estimate; Enter
#      there starts the calculation; Escape during the calculation neither closes the window
#      nor stops the calculation, whose results file ends complete.
#   5. Three runs ticked in the results window (Space) are overlaid: the plot saved as SVG
#      (Alt+P) names exactly those three runs in its legend.
#   6. A run cancelled with Alt+C leaves no JSON export of the earlier run beside its
#      partial results file.
#   7. Alt+X ("Exit") closes the window and ends the program.
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
# so two of these scripts running at once never share (or steal) a display. -noreset: by
# default the server resets when its last client leaves (here the readiness probe), and a
# program connecting during that reset is refused.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
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
  window=$(xdotool search --all --onlyvisible --pid "$program_pid" --name '^Brevandor$' 2>/dev/null |
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

# The program's visible windows, one id a line.
windows() { xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | sort || true; }

# Presses the keys $2… on the main window and prints the window that they open: one that is
# not among $1 (the windows before), waited for up to five seconds; nothing when none opens.
opened_by() {
  local before="$1"
  shift
  press "$@"
  for _ in $(seq 50); do
    comm -13 <(echo "$before") <(windows) | head -1 | grep . && return 0
    sleep 0.1
  done
}

# As opened_by, with the keys pressed on window $1 instead of the main window.
opened_by_in() {
  local target="$1" before="$2"
  shift 2
  xdotool windowfocus --sync "$target"
  xdotool key --clearmodifiers "$@"
  for _ in $(seq 50); do
    comm -13 <(echo "$before") <(windows) | head -1 | grep . && return 0
    sleep 0.1
  done
}

echo "3. Advanced Setup refuses low-weight mode with a pattern under which input bits can send nothing"
setup=$(opened_by "$(windows)" alt+a)
[[ -n "$setup" ]] || fail "Alt+A did not open Advanced Setup"
xdotool windowfocus --sync "$setup"
xdotool key --clearmodifiers alt+l ctrl+a
xdotool type --delay 50 20
xdotool key --clearmodifiers alt+p
xdotool type --delay 50 100,100,100
xdotool key --clearmodifiers Return
sleep 0.5
windows | grep -qx "$setup" || fail "Advanced Setup took low-weight mode with a pattern that bounds no input weight at OK"
xdotool windowfocus --sync "$setup"
xdotool key --clearmodifiers Escape
for _ in $(seq 50); do
  windows | grep -qx "$setup" || break
  sleep 0.1
done
windows | grep -qx "$setup" && fail "Escape did not leave Advanced Setup"

echo "4. A frame of 1001 bits: the estimate, Start with Enter, Escape during the run"
press alt+f
press ctrl+a
xdotool type --delay 50 1001
# The estimate question is a window of its own; Enter presses its default button, "Start".
question=$(opened_by "$(windows)" Return)
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

echo "5. Three runs overlaid in the results window"
# Each complete run opens (or raises) the results window and ticks itself alone.
for bits in 100 200 300; do
  press alt+f
  press ctrl+a
  xdotool type --delay 50 "$bits"
  rm -f results.txt
  press Return
  wait_complete results.txt 60 || fail "the run of $bits bits did not complete"
  sleep 1 # the results window shows the run after its file is complete
done
results=$(xdotool search --all --onlyvisible --pid "$program_pid" --name '^Brevandor - Results$' |
  head -1 || true)
[[ -n "$results" ]] || fail "no results window after complete runs"
# The newest run (300 bits) is current and ticked; tick the two above it.
xdotool windowfocus --sync "$results"
xdotool key --clearmodifiers End Up space Up space
sleep 0.5
saver=$(opened_by_in "$results" "$(windows)" alt+p)
[[ -n "$saver" ]] || fail "Alt+P did not open the plot's file dialog"
xdotool windowfocus --sync "$saver"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "$work/overlay.svg"
xdotool key --clearmodifiers Return
for _ in $(seq 50); do
  [[ -s overlay.svg ]] && break
  sleep 0.1
done
[[ -s overlay.svg ]] || fail "the overlay was not saved"
legend=$(grep -o '>PCCC [^<]*<' overlay.svg | sort -u)
for bits in 100 200 300; do
  grep -q "N = $bits<" <<<"$legend" || fail "the overlay's legend lacks the run of $bits bits: $legend"
done
[[ $(wc -l <<<"$legend") -eq 3 ]] || fail "the overlay's legend is not the three ticked runs: $legend"

echo "6. A cancelled run leaves no JSON export of the earlier run"
setup=$(opened_by "$(windows)" alt+a)
[[ -n "$setup" ]] || fail "Alt+A did not open Advanced Setup"
xdotool windowfocus --sync "$setup"
xdotool key --clearmodifiers alt+j ctrl+a
xdotool type --delay 20 "$work/run.json"
xdotool key --clearmodifiers Return
sleep 0.5
press alt+f
press ctrl+a
xdotool type --delay 50 100
rm -f results.txt
press Return
wait_complete results.txt 60 || fail "the run with a JSON export did not complete"
for _ in $(seq 50); do
  [[ -s run.json ]] && break
  sleep 0.1
done
[[ -s run.json ]] || fail "the complete run wrote no JSON record"
press alt+f
press ctrl+a
xdotool type --delay 50 3000
question=$(opened_by "$(windows)" Return)
[[ -n "$question" ]] || fail "no estimate question for 3000 bits"
xdotool windowfocus --sync "$question"
xdotool key --clearmodifiers Return
for _ in $(seq 100); do
  compgen -G ".results.txt.*" >/dev/null && break
  sleep 0.1
done
press alt+c
for _ in $(seq 100); do
  grep -q "Calculation Canceled" results.txt 2>/dev/null && break
  sleep 0.1
done
grep -q "Calculation Canceled" results.txt || fail "Alt+C did not leave a results file marked cancelled"
[[ -e run.json ]] && fail "the earlier run's JSON record stayed beside the cancelled run's file"

echo "7. Alt+X closes the window"
press alt+x
for _ in $(seq 50); do
  alive || break
  sleep 0.1
done
alive && fail "Alt+X did not close the window"
wait "$program_pid" || fail "the program ended with status $?"
program_pid=""
echo "PASS: Escape never closes the window, Enter runs, Advanced Setup refuses at OK, runs overlay,"
echo "      a cancel leaves no stale export, Alt+X exits"
