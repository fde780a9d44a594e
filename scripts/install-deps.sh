#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Palettor need.
# Idempotent: only missing packages are installed, and apt is not touched when none are.
# Run by a user who is not root, it uses sudo; without sudo it names what is missing and the
# command to run as root, and exits with 1.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-image-formats-plugins libgl-dev libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth x11-apps xdotool imagemagick python3-pil fonts-dejavu-core fonts-liberation2
  desktop-file-utils appstream man-db groff-base bash-completion librsvg2-bin libxml2-utils file
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 python3 cpp
  libgdal-dev libhdf5-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps.sh: these Debian packages are missing: ${missing[*]}" >&2
    echo "install-deps.sh: there is no sudo here; as root, run:" >&2
    echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
