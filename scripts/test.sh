#!/usr/bin/env bash
# Sets everything up and runs every test: a warnings-as-errors build with g++, then the
# same suite built with clang under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

# run_ctest DIR: runs the suite in DIR and notes how many passed and failed.
run_ctest() {
  local log
  log=$(mktemp)
  set +e
  ctest --test-dir "$1" --output-on-failure -j "$(nproc)" | tee "$log"
  local status=${PIPESTATUS[0]}
  set -e
  local skipped
  skipped=$(grep -c ' (Skipped)$' "$log" || true)
  sed -nE "s/.* ([0-9]+) tests failed out of ([0-9]+)\$/\\1 \\2 $skipped/p" "$log" >> "$summary"
  rm -f "$log"
  return "$status"
}

echo "== Build and test (g++, warnings as errors)"
scripts/build.sh build release
run_ctest build

echo "== Build and test (clang, AddressSanitizer + UndefinedBehaviorSanitizer)"
scripts/build.sh build-sanitize sanitize
run_ctest build-sanitize

if [ -x scripts/fuzz.sh ]; then
  echo "== Fuzzing (bounded)"
  scripts/fuzz.sh
fi

# Both suites together, in one line.
awk '{ failed += $1; total += $2; skipped += $3 }
     END { printf "tests: %d passed, %d failed, %d skipped\n", total - failed - skipped, failed, skipped }' "$summary"
