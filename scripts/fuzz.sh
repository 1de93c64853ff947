#!/bin/bash
# Builds the libFuzzer targets with clang and runs one for a while.
#   scripts/fuzz.sh TARGET [SECONDS]     e.g. scripts/fuzz.sh ini_fuzz 300
# Prints libFuzzer's closing statistics (executions, coverage).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
target="${1:?target}"
seconds="${2:-60}"
cmake -S . -B build/fuzz -DADQ_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target "$target"
corpus="build/fuzz/corpus-$target"
mkdir -p "$corpus"
"build/fuzz/bin/$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 2>&1 | tail -25
