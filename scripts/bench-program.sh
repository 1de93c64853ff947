#!/bin/bash
# Benchmark of the real program under Wine, the shipped (Release) exe and the
# Debug build's in the same run: audible milliseconds of 20 adverts, CPU while
# idle for 60 s, peak working set, start-up time and exe size.
# Prints figures only; asserts nothing.
#   scripts/bench-program.sh [release|debug|rev:COMMIT ...]   (default: release debug)
# rev:COMMIT builds that commit's shipped exe in a worktree and measures it
# beside this one's, e.g. to compare a change with what came before it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(release debug)
playlist="$root/build/bench-playlist.txt"
mkdir -p build
{
  echo "set volume 60"
  for i in $(seq 1 20); do
    echo "track | Artist $i | Song | 1500"
    echo "advert | Brand | Advert $i | 1500"
  done
  echo "track | Last | Song | 2000"
} > "$playlist"

# The shipped exe of an earlier commit, built in a worktree of its own.
build_rev() {  # build_rev COMMIT -> prints the exe's path
  local tree="$root/build/rev-$1"
  [ -d "$tree" ] || git worktree add -f --detach "$tree" "$1" >/dev/null 2>&1
  (cd "$tree" && bash scripts/release.sh >/dev/null 2>&1 || {
     cmake -S . -B build/release -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-w64.cmake" >/dev/null &&
     cmake --build build/release -j "$(nproc)" --target adquell_lite >/dev/null; })
  echo "$tree/build/release/bin/Adquell Lite.exe"
}

bench_one() {  # bench_one release|debug|rev:COMMIT
  local build="$1" log="$root/build/bench-program-${1//[:\/]/-}.log" flags=(--bench) exe="dist/Adquell Lite.exe"
  if [ "$build" = debug ]; then flags+=(--debug); exe="build/windows/bin/Adquell Lite.exe"; fi
  if [ "${build#rev:}" != "$build" ]; then exe="$(build_rev "${build#rev:}")"; flags+=(--program "$exe"); fi
  bash scripts/demo.sh "${flags[@]}" "$playlist" > "$log" 2>&1 &
  local demo=$! pid="" idle_ms=""
  # CPU of the program's own process while it idles, read from Linux's side:
  # Wine does not report another process's times.
  for _ in $(seq 1 1200); do grep -q "idle minute starts" "$log" && break; sleep 0.5; done
  pid=$(pgrep -f "Adquell Lite.exe" | head -1 || true)
  if [ -n "$pid" ]; then
    ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
    local t1 t2 hz
    t1=$(ticks); sleep 60; t2=$(ticks)
    hz=$(getconf CLK_TCK)
    idle_ms=$(( (t2 - t1) * 1000 / hz ))
  fi
  wait "$demo" || true
  echo "== $build build"
  grep -v "idle minute starts" "$log"
  [ -n "$idle_ms" ] && echo "idle for 60 s (playlist over, Spotify showing \"Spotify\"): ${idle_ms} ms CPU, $(awk "BEGIN{printf \"%.2f\", $idle_ms / 600}") % of one core"
  echo "exe size: $(stat -c %s "$exe") bytes"
}
for b in "${builds[@]}"; do bench_one "$b"; done
