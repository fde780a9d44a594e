#!/usr/bin/env bash
# build.sh DIR [release|sanitize|fuzz]: configures and builds into DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
kind=${2:-release}
jobs=$(nproc)
case "$kind" in
  release)
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALETTOR_WERROR=ON ;;
  sanitize)
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPALETTOR_WERROR=ON -DPALETTOR_SANITIZE=ON \
      -DPALETTOR_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ ;;
  fuzz)
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALETTOR_WERROR=ON -DPALETTOR_FUZZ=ON \
      -DPALETTOR_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ ;;
  *) echo "unknown build kind: $kind" >&2; exit 2 ;;
esac
cmake --build "$dir" -j "$jobs"
