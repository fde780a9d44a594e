#!/usr/bin/env bash
# Builds the fuzz targets (the "fuzz" preset: clang, libFuzzer + AddressSanitizer + UBSan) and runs
# each for a bounded time: the version readers start from the PE test fixtures, small ELF files with
# and without a version section, and the program's own version block; the palette reader from the
# built-in palette files; the scene readers from small pictures and Netpbm files; the settings
# store from a small store written here; palettor-cli's command line from one line per command.
# Fails on any crash, leak, sanitizer report or timeout. FUZZ_SECONDS (default 60) is the budget
# for all targets together.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-fuzz
seconds=${FUZZ_SECONDS:-60}
targets=(palettor-fuzz-versioninfo palettor-fuzz-versioninfo-resource palettor-fuzz-palette palettor-fuzz-scene-image
  palettor-fuzz-settings-store palettor-fuzz-command-line)

scripts/build.sh fuzz

seeds="$dir/fuzz-seeds"
mkdir -p "$seeds/version" "$seeds/palette" "$seeds/store" "$seeds/command-line"
cp "$dir"/about/palettor-version.bin "$dir"/fuzz/elf-seeds/* "$seeds/version"/
# The PE fixtures, when the mingw-w64 binutils were there to build them.
find "$dir"/tests/about/fixtures \( -name '*.exe' -o -name '*.dll' \) -exec cp {} "$seeds/version"/ \; 2>/dev/null || true
cp palette/presets/*.json "$seeds/palette"/
# One with the optional night floor too.
sed 's/^  "tailPercent": \([0-9]*\),$/  "tailPercent": \1,\n  "nightFloorPercent": 30,/' palette/presets/factory.json \
  >"$seeds/palette/night-floor.json"
# A store as the programs leave it: the layout, a key and a few of the window's values.
rm -f "$seeds/store/registry.sqlite3"
sqlite3 "$seeds/store/registry.sqlite3" <<'SQL'
CREATE TABLE registry_keys(path TEXT NOT NULL PRIMARY KEY COLLATE NOCASE) WITHOUT ROWID;
CREATE TABLE registry_values(key_path TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,
  type INTEGER NOT NULL CHECK (type IN (1, 4)), data BLOB, write_seq INTEGER NOT NULL,
  PRIMARY KEY (key_path, name)) WITHOUT ROWID;
CREATE TABLE write_counter(id INTEGER PRIMARY KEY CHECK (id = 1), last INTEGER NOT NULL);
INSERT INTO registry_keys VALUES ('Software\Quillon\palettor');
INSERT INTO registry_values VALUES ('Software\Quillon\palettor', 'LUThueM70', 4, 220, 1),
  ('Software\Quillon\palettor', 'LUTsatM70', 4, 70, 2), ('Software\Quillon\palettor', 'LUTTailPercent', 1, '12', 3);
INSERT INTO write_counter VALUES (1, 3);
PRAGMA application_id = 1364346183;
PRAGMA user_version = 1;
SQL
# One command line per command, the arguments separated by NUL bytes.
n=0
while IFS= read -r line; do
  n=$((n + 1))
  printf '%s' "$line" | tr ' ' '\0' > "$seeds/command-line/$n"
done <<'LINES'
render --out t.bmp --factory --white-top on --anchor M30=200,40
colourise --demo --out c.png --ir-scale 30,-50 --simulate deuteranopia --smooth off
demo-scene --ir-out ir.png --vis-out vis.png
export-csv --out=- --preset greyscale --tail-percent 20
legend --out l.png --width 2 --height 1
palette export --format gpl --name x --preset infrared-contrast p.gpl
palette import -- p.json
palette list
settings set LUThueO0 5
settings
app-path set Skyreader sky
app-path get Skyreader
version-info palettor --key FileVersion
--help
LINES

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
each=$(( seconds / ${#targets[@]} ))
[ "$each" -ge 1 ] || each=1
for target in "${targets[@]}"; do
  corpus="$dir/fuzz-corpus/$target"
  log="$dir/$target.log"
  mkdir -p "$corpus"
  quiet=()
  case "$target" in
    palettor-fuzz-palette) from="$seeds/palette" ;;
    palettor-fuzz-scene-image) from="$dir/fuzz/scene-seeds" ;;
    palettor-fuzz-settings-store) from="$seeds/store" ;;
    # The commands' own messages go nowhere; the fuzzer's and the sanitizers' still reach the log.
    palettor-fuzz-command-line) from="$seeds/command-line" quiet=(-close_fd_mask=2) ;;
    *) from="$seeds/version" ;;
  esac
  # libFuzzer reports every new input; keep that in the log and show it only when something is wrong.
  if ! "$dir/fuzz/$target" -max_total_time="$each" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    "${quiet[@]}" -print_final_stats=1 -artifact_prefix="$dir/$target-" "$corpus" "$from" >"$log" 2>&1; then
    tail -n 80 "$log"
    echo "fuzz.sh: $target failed under the fuzzer; the input is saved in $dir/ ($target-crash-*, -leak-*, -timeout-*)" >&2
    exit 1
  fi
  echo "== $target"
  grep -E '^(Done|stat::)' "$log"
done
