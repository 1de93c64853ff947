#!/bin/bash
# Benchmark of the MP3 index: a generated tree of 20,000 files in 2,000 folders,
# indexed natively and under Wine, beside `find` over the same tree.
# Prints figures only; asserts nothing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
tree="$root/build/bench-tree"
if [ ! -f "$tree/.complete" ]; then
  rm -rf "$tree"
  for d in $(seq 1 40); do
    for s in $(seq 1 50); do
      dir="$tree/artist$d/album$s"
      mkdir -p "$dir"
      for f in $(seq 1 10); do : > "$dir/track$f.mp3"; done
    done
  done
  touch "$tree/.complete"
fi
echo "tree: $(find "$tree" -type d | wc -l) folders, $(find "$tree" -type f -name '*.mp3' | wc -l) MP3 files"
cmake --build build/native --target index_bench >/dev/null
cmake --build build/windows --target index_bench >/dev/null
echo -n "native:  "; build/native/bin/index_bench "$tree" 5
. scripts/wine-env.sh
trap wine_env_down EXIT
wine_env_up build/windows >/dev/null
echo -n "wine:    "; wine build/windows/bin/index_bench.exe "$(winepath -w "$tree")" 3
start=$(date +%s.%N)
n=$(find "$tree" -name '*.mp3*' -not -path '*/.*' | wc -l)
end=$(date +%s.%N)
echo "find:    $n files in $(awk "BEGIN{printf \"%.1f\", ($end - $start) * 1000}") ms"
