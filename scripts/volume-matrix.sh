#!/bin/bash
# The volume-safety matrix on its own: builds the shipped exe and the simulated
# client, and runs every fault scenario under Wine, printing one table. (The
# test command runs it too, as the ctest test VolumeSafetyMatrix.)
#   scripts/volume-matrix.sh [--debug] [--only TEXT]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
bash scripts/windows-build.sh volume_matrix adquell_lite
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
