#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Palettor need.
# Idempotent: only missing packages are installed, and apt is not touched when none are.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-image-formats-plugins libgl-dev libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth x11-apps xdotool imagemagick python3-pil fonts-dejavu-core desktop-file-utils
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 python3 cpp
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
