#!/usr/bin/env bash
# Sets everything up and runs every test: a warnings-as-errors build with g++, then the
# same suite built with clang under AddressSanitizer and UndefinedBehaviorSanitizer, then
# the fuzz targets for a bounded time. Every stage runs even when an earlier one failed; the
# last line sums up both suites, and the exit status is non-zero when anything failed.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
failed_stages=()

# run_suite PRESET: builds and runs the suite of that preset and notes passed, failed and
# skipped. A build that fails counts as one failed test.
run_suite() {
  local preset=$1 log status skipped
  if ! scripts/build.sh "$preset"; then
    echo "1 1 0" >> "$summary"
    failed_stages+=("$preset build")
    return
  fi
  log=$(mktemp)
  ctest --preset "$preset" -j "$(nproc)" | tee "$log"
  status=${PIPESTATUS[0]}
  skipped=$(grep -c ' (Skipped)$' "$log" || true)
  if ! sed -nE "s/.* ([0-9]+) tests failed out of ([0-9]+)\$/\\1 \\2 $skipped/p" "$log" | grep . >> "$summary"; then
    echo "1 1 0" >> "$summary"  # ctest said nothing countable
  fi
  rm -f "$log"
  [ "$status" -eq 0 ] || failed_stages+=("$preset tests")
}

echo "== Build and test (g++, warnings as errors)"
run_suite release

echo "== Build and test (clang, AddressSanitizer + UndefinedBehaviorSanitizer)"
run_suite sanitize

echo "== Fuzzing (bounded)"
scripts/fuzz.sh || failed_stages+=("fuzzing")

[ ${#failed_stages[@]} -eq 0 ] || echo "failed: ${failed_stages[*]}" >&2
# Both suites together, in one line.
awk '{ failed += $1; total += $2; skipped += $3 }
     END { printf "tests: %d passed, %d failed, %d skipped\n", total - failed - skipped, failed, skipped }' "$summary"
[ ${#failed_stages[@]} -eq 0 ]
