#!/bin/bash
# Builds the shipped exe (scripts/release.sh) and the named targets of the
# Windows build, which is set up to run the shipped exe wherever the real
# program is run (end-to-end tests, demo, matrix).
#   scripts/windows-build.sh TARGET...
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/release.sh >/dev/null
mkdir -p build
cmake -S . -B build/windows -DCMAKE_BUILD_TYPE=Debug -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DADQ_TESTED_PROGRAM="$root/dist/Adquell Lite.exe" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build/windows -j "$(nproc)" "${targets[@]}" >/dev/null
