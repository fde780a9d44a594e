#!/usr/bin/env bash
# Sets everything up and runs every test: a warnings-as-errors build with g++, then the
# same suite built with clang under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== Build and test (g++, warnings as errors)"
scripts/build.sh build release
ctest --test-dir build --output-on-failure -j "$(nproc)"

echo "== Build and test (clang, AddressSanitizer + UndefinedBehaviorSanitizer)"
scripts/build.sh build-sanitize sanitize
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"

if [ -x scripts/fuzz.sh ]; then
  echo "== Fuzzing (bounded)"
  scripts/fuzz.sh
fi
