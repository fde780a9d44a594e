#!/usr/bin/env bash
# Sets everything up, builds, and does Palettor's main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build release
build/cli/palettor-cli render --factory --out TempToColourUser.bmp
echo "Wrote $(pwd)/TempToColourUser.bmp"
