#!/usr/bin/env bash
# Builds the version-information fuzz target (clang, libFuzzer + AddressSanitizer + UBSan) and runs it
# for a bounded time, starting from the PE test fixtures and the program's own version block.
# Fails on any crash, leak, sanitizer report or timeout.  FUZZ_SECONDS overrides the 60 s budget.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-fuzz
seconds=${FUZZ_SECONDS:-60}

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALETTOR_WERROR=ON -DPALETTOR_FUZZ=ON \
  -DPALETTOR_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$dir" -j 2 --target palettor-fuzz-versioninfo palettor_about_fixtures palettor_version_resource

seeds="$dir/fuzz-seeds"
corpus="$dir/fuzz-corpus"
mkdir -p "$seeds" "$corpus"
cp "$dir"/tests/about/fixtures/*.exe "$dir"/tests/about/fixtures/*.dll "$dir"/about/palettor-version.bin "$seeds"/

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
log="$dir/fuzz.log"
# libFuzzer reports every new input; keep that in the log and show it only when something is wrong.
if ! "$dir/fuzz/palettor-fuzz-versioninfo" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 -artifact_prefix="$dir/" "$corpus" "$seeds" >"$log" 2>&1; then
  tail -n 80 "$log"
  echo "fuzz.sh: the version reader failed under the fuzzer; the input is saved in $dir/ (crash-*, leak-*, timeout-*)" >&2
  exit 1
fi
grep -E '^(Done|stat::)' "$log"
