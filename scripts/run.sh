#!/usr/bin/env bash
# Sets everything up, builds, and starts Palettor's window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
Palettor is built, but there is no display to open its window on (DISPLAY and WAYLAND_DISPLAY are unset).
  Start it from a desktop session:        build/ui/palettor
  or under a virtual display:             xvfb-run -a build/ui/palettor
  or write the factory table without it:  build/cli/palettor-cli render --factory --out TempToColourUser.bmp
MSG
  exit 1
fi
exec build/ui/palettor
