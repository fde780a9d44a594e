#!/usr/bin/env bash
# build.sh [release|sanitize|fuzz]: configures and builds one of the presets in CMakePresets.json
# (into build/, build-sanitize/ or build-fuzz/). PALETTOR_JOBS limits the parallel jobs.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
case "$preset" in
  release | sanitize | fuzz) ;;
  *) echo "build.sh: unknown preset '$preset' (release, sanitize or fuzz)" >&2; exit 2 ;;
esac
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" ${PALETTOR_JOBS:+-j "$PALETTOR_JOBS"}
