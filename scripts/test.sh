#!/usr/bin/env bash
# Sets everything up and runs every test: the optimised build with warnings as errors
# (core, command line and window tests, the installed tree) and its Debian package, then the
# core and command-line tests under AddressSanitizer and UndefinedBehaviorSanitizer and under
# ThreadSanitizer, then each fuzz target for a fixed number of inputs (about a minute in all),
# then the core and the command line through clang-tidy.
set -euo pipefail
cd "$(dirname "$0")/.."

export QT_QPA_PLATFORM=offscreen

scripts/setup.sh ci
ctest --preset ci --output-on-failure
# The Debian package of the same build: its contents and its dependencies.
scripts/package.sh ci >/dev/null

scripts/setup.sh sanitize
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --preset sanitize --output-on-failure

scripts/setup.sh tsan
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --preset tsan --output-on-failure

scripts/setup.sh fuzz
ctest --preset fuzz --output-on-failure

# The core and the command line through clang-tidy's checks (.clang-tidy): a finding fails.
scripts/setup.sh tidy
