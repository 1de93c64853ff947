#!/bin/bash
# The volume-safety matrix on its own: builds the shipped exe and the simulated
# client, and runs every fault scenario under Wine, printing one table. (The
# test command runs it too, as the ctest test VolumeSafetyMatrix.)
#   scripts/volume-matrix.sh [--debug] [--only TEXT]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
bash scripts/release.sh >/dev/null
mkdir -p build
cmake -S . -B build/windows -DCMAKE_BUILD_TYPE=Debug -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DADQ_TESTED_PROGRAM="$root/dist/Adquell Lite.exe" >/dev/null
cmake --build build/windows -j "$(nproc)" --target volume_matrix --target adquell_lite >/dev/null
. scripts/wine-env.sh
trap wine_env_down EXIT
wine_env_up build/windows >/dev/null
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --debug) args+=(--program "$(winepath -w "build/windows/bin/Adquell Lite.exe")"); shift ;;
    --only) args+=(--only "$2"); shift 2 ;;
    *) echo "usage: scripts/volume-matrix.sh [--debug] [--only TEXT]" >&2; exit 2 ;;
  esac
done
wine build/windows/bin/volume_matrix.exe "${args[@]}"
