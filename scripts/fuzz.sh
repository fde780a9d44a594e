#!/usr/bin/env bash
# Builds the fuzz targets (the "fuzz" preset: clang, libFuzzer + AddressSanitizer + UBSan) and runs
# each for a bounded time: the version readers start from the PE test fixtures, small ELF files with
# and without a version section, and the program's own version block; the palette reader from the
# built-in palette files; the scene readers from small pictures and Netpbm files. Fails on any
# crash, leak, sanitizer report or timeout. FUZZ_SECONDS (default 60) is the budget for all targets together.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-fuzz
seconds=${FUZZ_SECONDS:-60}
targets=(palettor-fuzz-versioninfo palettor-fuzz-versioninfo-resource palettor-fuzz-palette palettor-fuzz-scene-image)

scripts/build.sh fuzz

seeds="$dir/fuzz-seeds"
mkdir -p "$seeds/version" "$seeds/palette"
cp "$dir"/about/palettor-version.bin "$dir"/fuzz/elf-seeds/* "$seeds/version"/
# The PE fixtures, when the mingw-w64 binutils were there to build them.
find "$dir"/tests/about/fixtures \( -name '*.exe' -o -name '*.dll' \) -exec cp {} "$seeds/version"/ \; 2>/dev/null || true
cp palette/presets/*.json "$seeds/palette"/
# One with the optional night floor too.
sed 's/^  "tailPercent": \([0-9]*\),$/  "tailPercent": \1,\n  "nightFloorPercent": 30,/' palette/presets/factory.json \
  >"$seeds/palette/night-floor.json"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
each=$(( seconds / ${#targets[@]} ))
[ "$each" -ge 1 ] || each=1
for target in "${targets[@]}"; do
  corpus="$dir/fuzz-corpus/$target"
  log="$dir/$target.log"
  mkdir -p "$corpus"
  case "$target" in
    palettor-fuzz-palette) from="$seeds/palette" ;;
    palettor-fuzz-scene-image) from="$dir/fuzz/scene-seeds" ;;
    *) from="$seeds/version" ;;
  esac
  # libFuzzer reports every new input; keep that in the log and show it only when something is wrong.
  if ! "$dir/fuzz/$target" -max_total_time="$each" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$dir/$target-" "$corpus" "$from" >"$log" 2>&1; then
    tail -n 80 "$log"
    echo "fuzz.sh: $target failed under the fuzzer; the input is saved in $dir/ ($target-crash-*, -leak-*, -timeout-*)" >&2
    exit 1
  fi
  echo "== $target"
  grep -E '^(Done|stat::)' "$log"
done
