#!/bin/bash
# Benchmark of the detection loop: audible milliseconds of 20 adverts silenced
# under Wine (as the simulated client counts them), and the CPU cost of idle
# ticks natively and under Wine. Prints figures only; asserts nothing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench --target idle_tick_bench -j "$(nproc)" >/dev/null
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build build/windows --target advert_bench spotify_sim -j "$(nproc)" >/dev/null
build/bench/bin/idle_tick_bench
. scripts/wine-env.sh
trap wine_env_down EXIT
wine_env_up build/windows >/dev/null
wine build/windows/bin/advert_bench.exe "${1:-20}"
